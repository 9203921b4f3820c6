#include "core/db/demo_database.h"

#include "core/base/codepage.h"
#include "core/base/number_text.h"
#include "core/base/safe_write.h"
#include "core/cards/card_record.h"
#include "core/cards/card_store.h"
#include "core/cards/debt.h"
#include "core/cards/pin_field.h"
#include "core/postal/postal_directory.h"

#include <QFileInfo>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

namespace tb {

namespace {

// Centres of the departments on frc.gif, measured on the image (each
// department's area, or its prefecture for the smallest ones and Corsica);
// the radius keeps most pins inside the department.
constexpr std::array<DepartmentSpot, 95> kSpots{{
    {1, 633, 458, 18},  {2, 529, 158, 22},  {3, 507, 433, 21},  {4, 685, 621, 19},  {5, 686, 576, 17},
    {6, 735, 635, 15},  {7, 579, 569, 17},  {8, 591, 154, 19},  {9, 409, 716, 16},  {10, 564, 269, 20},
    {11, 462, 701, 18}, {12, 478, 607, 22}, {13, 617, 666, 16}, {14, 301, 200, 19}, {15, 477, 544, 18},
    {16, 334, 489, 18}, {17, 284, 485, 19}, {18, 467, 376, 21}, {19, 431, 519, 18}, {20, 846, 776, 18},
    {21, 599, 345, 23}, {22, 155, 258, 21}, {23, 439, 458, 18}, {24, 365, 540, 23}, {25, 692, 367, 18},
    {26, 622, 574, 19}, {27, 380, 199, 20}, {28, 402, 262, 19}, {29, 86, 273, 21},  {30, 566, 630, 17},
    {31, 390, 681, 18}, {32, 348, 654, 18}, {33, 288, 563, 24}, {34, 518, 664, 18}, {35, 227, 283, 21},
    {36, 413, 400, 20}, {37, 362, 360, 19}, {38, 646, 526, 21}, {39, 653, 405, 17}, {40, 276, 632, 23},
    {41, 405, 329, 20}, {42, 564, 489, 16}, {43, 543, 538, 17}, {44, 224, 350, 21}, {45, 458, 304, 21},
    {46, 415, 579, 17}, {47, 349, 600, 17}, {48, 525, 588, 17}, {49, 289, 349, 21}, {50, 244, 201, 20},
    {51, 568, 213, 23}, {52, 626, 286, 20}, {53, 284, 283, 18}, {54, 681, 228, 18}, {55, 635, 209, 20},
    {56, 159, 309, 21}, {57, 709, 205, 20}, {58, 525, 372, 20}, {59, 509, 79, 19},  {60, 463, 172, 20},
    {61, 329, 242, 20}, {62, 454, 74, 22},  {63, 504, 489, 22}, {64, 277, 689, 20}, {65, 331, 706, 15},
    {66, 468, 741, 14}, {67, 761, 238, 17}, {68, 745, 308, 15}, {69, 591, 476, 13}, {70, 676, 327, 18},
    {71, 586, 412, 23}, {72, 335, 296, 20}, {73, 697, 510, 19}, {74, 696, 461, 17}, {75, 457, 222, 3},
    {76, 381, 150, 21}, {77, 493, 242, 19}, {78, 427, 225, 11}, {79, 303, 419, 19}, {80, 454, 123, 20},
    {81, 448, 647, 18}, {82, 396, 623, 14}, {83, 685, 674, 18}, {84, 623, 630, 13}, {85, 247, 409, 20},
    {86, 349, 419, 20}, {87, 394, 474, 18}, {88, 693, 279, 19}, {89, 529, 310, 22}, {90, 725, 328, 5},
    {91, 452, 254, 9},  {92, 449, 223, 3},  {93, 464, 217, 3},  {94, 464, 230, 3},  {95, 439, 199, 6},
}};

const char* const kSurnames[] = {
    "MARTIN",   "BERNARD",  "THOMAS",   "PETIT",     "ROBERT",   "RICHARD",  "DURAND",   "DUBOIS",
    "MOREAU",   "LAURENT",  "SIMON",    "MICHEL",    "LEFEBVRE", "LEROY",    "ROUX",     "DAVID",
    "BERTRAND", "MOREL",    "FOURNIER", "GIRARD",    "BONNET",   "DUPONT",   "LAMBERT",  "FONTAINE",
    "ROUSSEAU", "VINCENT",  "MULLER",   "LEFEVRE",   "FAURE",    "ANDRE",    "MERCIER",  "BLANC",
    "GUERIN",   "BOYER",    "GARNIER",  "CHEVALIER", "FRANCOIS", "LEGRAND",  "GAUTHIER", "GARCIA",
    "PERRIN",   "ROBIN",    "CLEMENT",  "MORIN",     "NICOLAS",  "HENRY",    "ROUSSEL",  "MATHIEU",
    "GAUTIER",  "MASSON",   "MARCHAND", "DUVAL",     "DENIS",    "DUMONT",   "MARIE",    "LEMAIRE",
    "NOEL",     "MEYER",    "DUFOUR",   "MEUNIER",   "BRUN",     "BLANCHARD","GIRAUD",   "JOLY",
    "RIVIERE",  "LUCAS",    "BRUNET",   "GAILLARD",  "BARBIER",  "ARNAUD",   "MARTINEZ", "GERARD",
    "ROCHE",    "RENARD",   "SCHMITT",  "ROY",       "LEROUX",   "COLIN",    "VIDAL",    "CARON",
    "PICARD",   "ROGER",    "FABRE",    "AUBERT",    "LEMOINE",  "RENAUD",   "DUMAS",    "LACROIX",
    "OLIVIER",  "PHILIPPE", "BOURGEOIS","PIERRE",    "BENOIT",   "REY",      "LECLERC",  "PAYET",
    "ROLLAND",  "LECLERCQ", "GUILLAUME","LECOMTE",   "LOPEZ",    "JEAN",     "DUPUY",    "GUILLOT",
    "HUBERT",   "BERGER",   "CARPENTIER","SANCHEZ",  "DUPUIS",   "MOULIN",   "LOUIS",    "DESCHAMPS",
    "HUET",     "VASSEUR",  "PEREZ",    "BOUCHER",   "FLEURY",   "ROYER",    "KLEIN",    "JACQUET",
    "ADAM",     "PARIS",    "POIRIER",  "MARTY",     "AUBRY",    "GUYOT",    "CARRE",    "CHARLES",
    "RENAULT",  "CHARPENTIER","MENARD", "MAILLARD",  "BARON",    "BERTIN",   "BAILLY",   "HERVE",
    "SCHNEIDER","FERNANDEZ","LE GALL",  "COLLET",    "LEGER",    "BOUVIER",  "JULIEN",   "PREVOST",
    "MILLET",   "PERROT",   "DANIEL",   "LE ROUX",   "COUSIN",   "GERMAIN",  "BRETON",   "BESSON",
    "LANGLOIS", "REMY",     "LE GOFF",  "PELLETIER", "LEVEQUE",  "PERRIER",  "LEBLANC",  "BARRE",
};

// First names with the civility they go with and their form in an e-mail.
struct FirstName {
    const char* utf8;
    const char* mail;
    bool woman;
};
const FirstName kFirstNames[] = {
    {"Jean", "jean", false},           {"Pierre", "pierre", false},       {"Michel", "michel", false},
    {"André", "andre", false},         {"Philippe", "philippe", false},   {"Alain", "alain", false},
    {"Jacques", "jacques", false},     {"Bernard", "bernard", false},     {"Jean-Pierre", "jean-pierre", false},
    {"Christian", "christian", false}, {"Daniel", "daniel", false},       {"Patrick", "patrick", false},
    {"Nicolas", "nicolas", false},     {"François", "francois", false},   {"Christophe", "christophe", false},
    {"Frédéric", "frederic", false},   {"Laurent", "laurent", false},     {"Stéphane", "stephane", false},
    {"Julien", "julien", false},       {"Sébastien", "sebastien", false}, {"Thomas", "thomas", false},
    {"Olivier", "olivier", false},     {"Hugo", "hugo", false},           {"Lucas", "lucas", false},
    {"Gérard", "gerard", false},       {"René", "rene", false},           {"Louis", "louis", false},
    {"Émile", "emile", false},         {"Mathieu", "mathieu", false},     {"Antoine", "antoine", false},
    {"Marie", "marie", true},          {"Jeanne", "jeanne", true},        {"Françoise", "francoise", true},
    {"Monique", "monique", true},      {"Catherine", "catherine", true},  {"Nathalie", "nathalie", true},
    {"Isabelle", "isabelle", true},    {"Sylvie", "sylvie", true},        {"Anne", "anne", true},
    {"Martine", "martine", true},      {"Christine", "christine", true},  {"Sophie", "sophie", true},
    {"Valérie", "valerie", true},      {"Sandrine", "sandrine", true},    {"Céline", "celine", true},
    {"Hélène", "helene", true},        {"Véronique", "veronique", true},  {"Chantal", "chantal", true},
    {"Nicole", "nicole", true},        {"Claire", "claire", true},        {"Émilie", "emilie", true},
    {"Camille", "camille", true},      {"Léa", "lea", true},              {"Manon", "manon", true},
    {"Chloé", "chloe", true},          {"Élodie", "elodie", true},        {"Aurélie", "aurelie", true},
    {"Marie-Claire", "marie-claire", true}, {"Geneviève", "genevieve", true}, {"Josiane", "josiane", true},
};

const char* const kStreetKinds[] = {"rue", "rue", "rue", "avenue", "boulevard", "place", "allée",
                                    "impasse", "chemin", "route", "quai", "cours"};
const char* const kStreetNames[] = {
    "Victor Hugo",     "de la République", "Jean Jaurès",   "du Général de Gaulle", "Pasteur",
    "de la Gare",      "des Écoles",       "de l'Église",   "Gambetta",             "Jules Ferry",
    "du Moulin",       "de la Mairie",     "Carnot",        "Émile Zola",           "des Lilas",
    "du Château",      "de la Paix",       "Voltaire",      "Anatole France",       "des Tilleuls",
    "du 8 Mai 1945",   "de Verdun",        "Jean Moulin",   "Saint-Martin",         "des Acacias",
    "de la Fontaine",  "du Stade",         "Paul Bert",     "de Bretagne",          "des Vignes",
};
const char* const kProfessions[] = {
    "Agriculteur",  "Artisan",     "Boulanger",   "Commerçant",  "Comptable",   "Enseignant",
    "Infirmier",    "Ingénieur",   "Médecin",     "Notaire",     "Pharmacien",  "Plombier",
    "Retraité",     "Secrétaire",  "Technicien",  "Électricien", "Avocat",      "Architecte",
};
const char* const kCompanies[] = {"SARL", "SA", "SAS", "EURL", "SCI", "GAEC"};
const char* const kCompanyWords[] = {"Atlantique", "Services", "Bâtiment", "Conseil", "Transports", "Horizon",
                                     "Distribution", "Océan", "Provence", "Alpes", "Logistique", "Immobilier"};
const char* const kObservations[] = {"Client fidèle",     "À rappeler",          "Relance envoyée",
                                     "Préfère le courriel", "Nouveau client",    "Rendez-vous pris",
                                     "Devis en attente",  "Ne pas démarcher"};
const char* const kMailDomains[] = {"orange.fr", "free.fr", "gmail.com", "laposte.net", "sfr.fr", "wanadoo.fr"};

// A small deterministic generator (splitmix64): the same seed gives the same
// cards on every machine, which the standard distributions do not promise.
class Random {
public:
    explicit Random(quint64 seed) : m_state(seed) {}
    quint64 next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int below(int n) { return int(next() % quint64(n)); }
    double unit() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
    bool chance(int percent) { return below(100) < percent; }

private:
    quint64 m_state;
};

struct Commune {
    QByteArray city;  // code-page bytes
    QByteArray code;
    int department = 0;
};

// The landline prefix of a department (01 Paris area, 02 north-west, 03
// north-east, 04 south-east, 05 south-west).
char phoneZone(int d)
{
    static const int zone1[] = {75, 77, 78, 91, 92, 93, 94, 95};
    static const int zone2[] = {14, 18, 22, 27, 28, 29, 35, 36, 37, 41, 44, 45, 49, 50, 53, 56, 61, 72, 76, 85};
    static const int zone3[] = {2, 8, 10, 21, 25, 39, 51, 52, 54, 55, 57, 58, 59, 60, 62, 67, 68, 70, 71, 80, 88, 89, 90};
    static const int zone4[] = {1, 3, 4, 5, 6, 7, 11, 13, 15, 20, 26, 30, 34, 38, 42, 43, 48, 63, 66, 69, 73, 74, 83, 84};
    auto in = [d](const auto& list) { return std::find(std::begin(list), std::end(list), d) != std::end(list); };
    if (in(zone1))
        return '1';
    if (in(zone2))
        return '2';
    if (in(zone3))
        return '3';
    if (in(zone4))
        return '4';
    return '5';
}

QByteArray twoDigits(int v)
{
    return QByteArray::number(v).rightJustified(2, '0');
}

QByteArray phone(Random& rng, char first, char second)
{
    QByteArray p;
    p += first;
    p += second;
    for (int i = 0; i < 4; ++i)
        p += ' ' + twoDigits(rng.below(100));
    return p;
}

QByteArray cp(const char* utf8)
{
    return toCp1252(QString::fromUtf8(utf8));
}

Result<std::vector<Commune>> mappedCommunes(const QString& programFolder)
{
    std::vector<Commune> out;
    for (const QString& name : postalFiles()) {
        const QByteArray bytes = readWholeFile(programFolder + name);
        for (QByteArray line : bytes.split('\n')) {
            if (line.endsWith('\r'))
                line.chop(1);
            if (line.size() < 7)
                continue;
            const QByteArray code = line.last(5);
            bool ok = false;
            const int d = code.first(2).toInt(&ok);
            if (!ok || !departmentSpot(d))
                continue;  // overseas: no place on the map
            out.push_back({line.first(line.size() - 6), code, d});
        }
    }
    if (out.empty())
        return Error{kErrorFileNotFound, QStringLiteral("l'annuaire des codes postaux est introuvable dans ") + programFolder};
    return out;
}

// The demo's captions name its first four custom fields.
constexpr CardField kDemoProfession = kFieldFirstCustom;
constexpr CardField kDemoBirthday = CardField(kFieldFirstCustom + 1);
constexpr CardField kDemoCompany = CardField(kFieldFirstCustom + 2);
constexpr CardField kDemoObservations = CardField(kFieldFirstCustom + 3);

// Puts text (code-page bytes) into field k of the record at rec.
void put(char* rec, CardField k, QByteArrayView text)
{
    const int width = CardRecord::width(k);
    std::memcpy(rec + CardRecord::offset(int(fieldIndex(k))), text.data(), size_t(std::min<qsizetype>(width, text.size())));
}

class CardMaker {
public:
    CardMaker(std::vector<Commune> communes, quint64 seed) : m_communes(std::move(communes)), m_rng(seed)
    {
        for (const char* s : kSurnames)
            m_surnames.push_back(s);
        for (const FirstName& f : kFirstNames)
            m_firstNames.push_back(cp(f.utf8));
        for (const char* s : kStreetKinds)
            m_kinds.push_back(cp(s));
        for (const char* s : kStreetNames)
            m_streets.push_back(cp(s));
        for (const char* s : kProfessions)
            m_professions.push_back(cp(s));
        for (const char* s : kObservations)
            m_observations.push_back(cp(s));
        for (const char* s : kCompanyWords)
            m_companyWords.push_back(cp(s));
    }

    // Writes one card's 630 bytes (already blank) at rec.
    void make(char* rec)
    {
        Random& r = m_rng;
        const Commune& c = m_communes[size_t(r.below(int(m_communes.size())))];
        const DepartmentSpot* spot = departmentSpot(c.department);
        // A point of the disc around the department's centre.
        const double angle = r.unit() * 6.283185307179586;
        const double dist = std::sqrt(r.unit()) * spot->radius;
        const int x = std::clamp(int(std::lround(spot->x + dist * std::cos(angle))), 0, 899);
        const int y = std::clamp(int(std::lround(spot->y + dist * std::sin(angle))), 0, 859);
        const char marker = r.chance(5) ? '0' : char('1' + r.below(7));
        // Made from numbers: ASCII, one byte a character.
        put(rec, kFieldPosition, PinField(QChar(marker), x, y).text().toLatin1());

        const size_t fi = size_t(r.below(int(std::size(kFirstNames))));
        const FirstName& first = kFirstNames[fi];
        const char* civility = first.woman ? (r.chance(8) ? "Mademoiselle" : "Madame") : "Monsieur";
        if (r.chance(3))
            civility = "";
        put(rec, kFieldCivility, civility);
        const char* surname = kSurnames[r.below(int(std::size(kSurnames)))];
        put(rec, kFieldSurname, surname);
        put(rec, kFieldFirstNames, m_firstNames[fi]);
        put(rec, kFieldStreet, QByteArray::number(1 + r.below(120)) + ' ' + m_kinds[size_t(r.below(int(m_kinds.size())))]
                        + ' ' + m_streets[size_t(r.below(int(m_streets.size())))]);
        put(rec, kFieldPostalCode, c.code);
        put(rec, kFieldCity, c.city);
        if (r.chance(80))
            put(rec, kFieldLandline, phone(r, '0', phoneZone(c.department)));
        if (r.chance(70))
            put(rec, kFieldMobile, phone(r, '0', r.chance(70) ? '6' : '7'));
        if (r.chance(60)) {
            QByteArray mail = QByteArray(first.mail) + '.' + QByteArray(surname).toLower().replace(' ', '-') + '@'
                              + kMailDomains[r.below(int(std::size(kMailDomains)))];
            put(rec, kFieldEmail, mail);
        }
        if (r.chance(50))
            put(rec, kDemoProfession, m_professions[size_t(r.below(int(m_professions.size())))]);
        if (r.chance(40))
            put(rec, kDemoBirthday, twoDigits(1 + r.below(28)) + '/' + twoDigits(1 + r.below(12)) + '/'
                             + QByteArray::number(1930 + r.below(75)));
        if (r.chance(15))
            put(rec, kDemoCompany, QByteArray(kCompanies[r.below(int(std::size(kCompanies)))]) + ' '
                             + m_companyWords[size_t(r.below(int(m_companyWords.size())))]);
        if (r.chance(20))
            put(rec, kDemoObservations, m_observations[size_t(r.below(int(m_observations.size())))]);
        if (r.chance(10))
            putDebts(rec);
    }

private:
    void putDebts(char* rec)
    {
        Random& r = m_rng;
        const int owed = 50 + r.below(5000);
        const int interest = r.chance(50) ? r.below(owed / 10 + 1) : 0;
        const int costs = r.chance(40) ? 15 + r.below(200) : 0;
        const int total = owed + interest + costs;
        const int collected = r.chance(30) ? 0 : r.below(total + 1);
        const std::array<QString, 6> texts = debtCalculation(QString::number(owed), QString::number(interest),
                                                             QString::number(costs), QString::number(collected));
        for (size_t i = 0; i < texts.size(); ++i)
            put(rec, kDebtFields[i], toCp1252(texts[i]));
    }

    std::vector<Commune> m_communes;
    Random m_rng;
    std::vector<QByteArray> m_surnames, m_firstNames, m_kinds, m_streets, m_professions, m_observations,
        m_companyWords;
};

// Records per write: 8000 cards, about 5 MB.
constexpr long long kBlockCards = 8000;

}  // namespace

const DepartmentSpot* departmentSpot(int department)
{
    for (const DepartmentSpot& s : kSpots)
        if (s.department == department)
            return &s;
    return nullptr;
}

Status fillDemoCards(const QString& databaseFolder, const QString& programFolder, long long cards, quint64 seed)
{
    const CardStore store(databaseFolder);
    if (store.recordsInFile() > 0 || store.readCount().value > 0)
        return Error{kErrorPathAccess, QStringLiteral("la base de données contient déjà des fiches")};
    Result<std::vector<Commune>> communes = mappedCommunes(programFolder);
    if (!communes)
        return communes.error();
    CardMaker maker(std::move(communes).value(), seed);
    QByteArray block;
    for (long long first = 1; first <= cards; first += kBlockCards) {
        const long long n = std::min(kBlockCards, cards - first + 1);
        block.fill(' ', qsizetype(n * CardRecord::kSize));
        for (long long k = 0; k < n; ++k)
            maker.make(block.data() + k * CardRecord::kSize);
        if (Status s = store.writeRecords(first, block); !s)
            return s;
    }
    return store.writeCount(cards);
}

Result<std::unique_ptr<Database>> createDemoDatabase(const QString& programFolder, const QString& name,
                                                     long long cards, quint64 seed, QList<Error>* templateErrors)
{
    Result<std::unique_ptr<Database>> created = Database::create(programFolder, name, templateErrors);
    if (!created)
        return created.error();
    const QString folder = created.value()->folder();
    created.value().reset();  // the cards are written under the store, then the database is read again
    if (Status s = fillDemoCards(folder, programFolder, cards, seed); !s)
        return s.error();
    return Database::open(folder);
}

}  // namespace tb
