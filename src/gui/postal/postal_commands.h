#pragma once
// The postal searches of "Accessoires": each fills FFrance5 and shows it.
struct AppContext;

// `Rechcp`: cities that have a given postal code.
void searchCityByPostalCode(AppContext& ctx);
// `RechparVille`: postal codes of the cities whose name begins with a text.
void searchPostalCodeByCity(AppContext& ctx);
