#include "common/countries.h"

#include <array>

namespace {

struct Country {
    const char* naam; // exact text, trailing blank included
    const char* vlag; // ISO 3166 alpha-2 code of the flag picture
};

// The country list in its fixed order; the position is the country index.
// One entry per line: lobby/CMakeLists.txt reads the flag codes from here.
// clang-format off
constexpr std::array<Country, kCountryCount> kCountries{{
    {"Afghanistan", "af"},
    {"Albania", "al"},
    {"Algeria", "dz"},
    {"American Samoa", "as"},
    {"Andorra", "ad"},
    {"Angola", "ao"},
    {"Anguilla", "ai"},
    {"Antarctica", "aq"}, // our own drawing (lobby/flags/aq.xpm)
    {"Antigua and Barbuda", "ag"},
    {"Argentina", "ar"},
    {"Armenia", "am"},
    {"Aruba", "aw"},
    {"Australia", "au"},
    {"Austria", "at"},
    {"Azerbaidjan", "az"},
    {"Azores", "pt"}, // Portugal
    {"Bahamas ", "bs"},
    {"Bahrain ", "bh"},
    {"Bangladesh ", "bd"},
    {"Barbados ", "bb"},
    {"Belarus ", "by"},
    {"Belgium ", "be"},
    {"Belize ", "bz"},
    {"Benin ", "bj"},
    {"Bermuda ", "bm"},
    {"Bhutan", "bt"},
    {"Bolivia", "bo"},
    {"Bonaire", "an"}, // Netherlands Antilles
    {"Bosnia -Herzegovina ", "ba"},
    {"Botswana", "bw"},
    {"Brazil", "br"},
    {"British Indian O. Terr.", "io"},
    {"Brunei", "bn"},
    {"Bulgaria", "bg"},
    {"Burkina Faso", "bf"},
    {"Burundi", "bi"},
    {"Cambodia", "kh"},
    {"Cameroon", "cm"},
    {"Canada", "ca"},
    {"Canary Islands", "es"}, // Spain
    {"Cape Verde ", "cv"},
    {"Cayman Islands", "ky"},
    {"Central African Rep.", "cf"},
    {"Chad", "td"},
    {"Channel Islands", "gb"}, // United Kingdom
    {"Chile", "cl"},
    {"China", "cn"},
    {"Christmas Island", "cx"},
    {"Cocos (Keeling) Isl.", "cc"},
    {"Columbia", "co"},
    {"Comoros", "km"},
    {"Congo", "cg"}, // Republic of the Congo (ISO short name Congo)
    {"Cook Islands", "ck"},
    {"Costa Rica", "cr"},
    {"Cote D'Ivoire", "ci"},
    {"Croatia ", "hr"},
    {"Cuba ", "cu"},
    {"curacao", "an"}, // Netherlands Antilles
    {"Cyprus ", "cy"},
    {"Czech Republic ", "cz"},
    {"Denmark ", "dk"},
    {"Djibouti ", "dj"},
    {"Dominica ", "dm"},
    {"Dominican Republic ", "do"},
    {"East Timor ", "tl"},
    {"Ecuador ", "ec"},
    {"Egypt ", "eg"},
    {"El Salvador ", "sv"},
    {"Equatorial Guinea ", "gq"},
    {"Eritrea", "er"},
    {"Estonia ", "ee"},
    {"Ethiopia ", "et"},
    {"Falkland Isl.(UK)", "fk"},
    {"Faroe Islands ", "fo"},
    {"Fiji ", "fj"},
    {"Finland ", "fi"},
    {"France ", "fr"},
    {"French Guiana", "gf"},
    {"French Polynesia", "pf"},
    {"French Southern Terr.", "tf"},
    {"Gabon ", "ga"},
    {"Gambia ", "gm"},
    {"Georgia ", "ge"},
    {"Germany ", "de"},
    {"Ghana ", "gh"},
    {"Gibraltar ", "gi"},
    {"Great Britain(UK) ", "gb"},
    {"Greece ", "gr"},
    {"Greenland ", "gl"},
    {"Grenada ", "gd"},
    {"Guadeloupe (Fr.)", "gp"},
    {"Guam (US) ", "gu"},
    {"Guatemala ", "gt"},
    {"Guinea ", "gn"},
    {"Guinea Bissau ", "gw"},
    {"Guyana ", "gy"},
    {"Haiti", "ht"},
    {"Hawaii", "us"}, // United States
    {"Honduras ", "hn"},
    {"Hong Kong ", "hk"},
    {"Hungary ", "hu"},
    {"Iceland ", "is"},
    {"India ", "in"},
    {"Indonesia ", "id"},
    {"Iran ", "ir"},
    {"Iraq ", "iq"},
    {"Ireland ", "ie"},
    {"Isle of Man", "gb"}, // United Kingdom
    {"Israel ", "il"},
    {"Italy ", "it"},
    {"Jamaica ", "jm"},
    {"Japan ", "jp"},
    {"Jordan ", "jo"},
    {"Kazachstan ", "kz"},
    {"Kenya ", "ke"},
    {"Kiribati", "ki"},
    {"Kuwait ", "kw"},
    {"Kyrgystan", "kg"},
    {"Laos ", "la"},
    {"Latvia ", "lv"},
    {"Lebanon ", "lb"},
    {"Lesotho ", "ls"},
    {"Liberia ", "lr"},
    {"Libya ", "ly"},
    {"Liechtenstein ", "li"},
    {"Lithuania ", "lt"},
    {"Luxembourg ", "lu"},
    {"Macau ", "mo"},
    {"Madagascar ", "mg"},
    {"Malawi ", "mw"},
    {"Malaysia ", "my"},
    {"Maldives ", "mv"},
    {"Mali ", "ml"},
    {"Malta ", "mt"},
    {"Marshall Islands ", "mh"},
    {"Martinique (Fr.)", "mq"},
    {"Mauritania ", "mr"},
    {"Mauritius ", "mu"},
    {"Mayotte", "yt"},
    {"Mexico ", "mx"},
    {"Micronesia ", "fm"},
    {"Midway Islands", "um"}, // US Minor Outlying Islands
    {"Moldova ", "md"},
    {"Monaco ", "mc"},
    {"Mongolia ", "mn"},
    {"Montserrat ", "ms"},
    {"Morocco ", "ma"},
    {"Mozambique ", "mz"},
    {"Myanmar ", "mm"},
    {"Namibia ", "na"},
    {"Nauru ", "nr"},
    {"Nepal ", "np"},
    {"Netherland Antilles", "an"},
    {"Netherlands ", "nl"},
    {"New Caledonia (Fr.)", "nc"},
    {"New Zealand", "nz"},
    {"Nicaragua ", "ni"},
    {"Niger ", "ne"},
    {"Nigeria ", "ng"},
    {"Niue ", "nu"},
    {"Norfolk Island ", "nf"},
    {"North Korea", "kp"},
    {"Norway ", "no"},
    {"Oman ", "om"},
    {"Pakistan ", "pk"},
    {"Palau ", "pw"},
    {"Palestine", "ps"},
    {"Panama ", "pa"},
    {"Papua New guinea", "pg"},
    {"Paraguay ", "py"},
    {"Peru ", "pe"},
    {"Philippines ", "ph"},
    {"Pitcairn ", "pn"},
    {"Poland ", "pl"},
    {"Portugal ", "pt"},
    {"Puerto Rico", "pr"},
    {"Qatar", "qa"},
    {"Reunion (Fr.)", "re"},
    {"Romania ", "ro"},
    {"Russia", "ru"},
    {"Rwanda ", "rw"},
    {"Samoa ", "ws"},
    {"San Marino ", "sm"},
    {"Sao tome and Principe", "st"},
    {"Saudi Arabia ", "sa"},
    {"Senegal ", "sn"},
    {"Serbia and Montenegro", "cs"},
    {"Seychelles ", "sc"},
    {"Sierra Leone ", "sl"},
    {"Singapore ", "sg"},
    {"Slovakia", "sk"},
    {"Slovenia ", "si"},
    {"Solomon Islands ", "sb"},
    {"Somalia ", "so"},
    {"South Africa ", "za"},
    {"South Korea", "kr"},
    {"Spain ", "es"},
    {"Sri Lanka ", "lk"},
    {"St.Helena ", "sh"},
    {"St.Kitts Nevis Anguilla", "kn"},
    {"St.Lucia", "lc"},
    {"St.Maarten", "an"}, // Netherlands Antilles
    {"St.Pierre & Miquelon", "pm"},
    {"St.Vincent & Grenadines", "vc"},
    {"Sudan ", "sd"},
    {"Suriname ", "sr"},
    {"Svalbard", "sj"},
    {"Swaziland ", "sz"},
    {"Sweden ", "se"},
    {"Switzerland ", "ch"},
    {"Syria ", "sy"},
    {"Tahiti", "pf"}, // French Polynesia
    {"Taiwan ", "tw"},
    {"Tajikistan", "tj"},
    {"Tanzania ", "tz"},
    {"Thailand ", "th"},
    {"Togo ", "tg"},
    {"Tokelau ", "tk"},
    {"Tonga ", "to"},
    {"Trinidad & Tobago", "tt"},
    {"Tunisia ", "tn"},
    {"Turkey ", "tr"},
    {"Turkmenistan ", "tm"},
    {"Turks & Caicos Islands", "tc"},
    {"Tuvalu ", "tv"},
    {"Uganda ", "ug"},
    {"Ukraine ", "ua"},
    {"United Arab Emirates", "ae"},
    {"United States of Am.", "us"},
    {"Uruguay ", "uy"},
    {"Uzbekistan ", "uz"},
    {"Vanuatu ", "vu"},
    {"Vatican City State", "va"},
    {"Venezuela ", "ve"},
    {"Vietnam ", "vn"},
    {"Virgin Islands", "vi"}, // US Virgin Islands
    {"Wake Island", "um"}, // US Minor Outlying Islands
    {"Wallis & Futuna Islands", "wf"},
    {"Western Sahara ", "eh"},
    {"Yemen ", "ye"},
    {"Zambia ", "zm"},
    {"Zimbabwe ", "zw"},
}};
// clang-format on

// Removes blanks (spaces only) at both ends.
QString trimBlanks(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == u' ')
        ++begin;
    while (end > begin && text.at(end - 1) == u' ')
        --end;
    return text.mid(begin, end - begin);
}

} // namespace

const QStringList& countryNames() {
    static const QStringList names = [] {
        QStringList list;
        list.reserve(kCountryCount);
        for (const Country& c : kCountries)
            list.append(QString::fromLatin1(c.naam));
        return list;
    }();
    return names;
}

QString countryFlagCode(qint16 landnummer) {
    if (landnummer < 0 || landnummer >= kCountryCount) return {};
    return QString::fromLatin1(kCountries[landnummer].vlag);
}

bool sameCountryName(const QString& a, const QString& b) {
    return trimBlanks(a).toLower() == trimBlanks(b).toLower();
}

qint16 countryIndex(const QString& land) {
    const QStringList& names = countryNames();
    for (qint16 i = 0; i < names.size(); ++i) {
        if (sameCountryName(names.at(i), land)) return i;
    }
    return kUnknownCountry;
}
