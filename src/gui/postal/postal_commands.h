#pragma once
// The postal searches of "Accessoires": each empties the window of the
// results, fills it and shows it.
struct AppContext;
class FFrance5;

// `Rechcp`: cities that have a given postal code.
void searchCityByPostalCode(AppContext& ctx, FFrance5* window);
// `RechparVille`: postal codes of the cities whose name begins with a text.
void searchPostalCodeByCity(AppContext& ctx, FFrance5* window);
