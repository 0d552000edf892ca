#pragma once

namespace tessara::gsd {

// How the maker is reached, as the header box of the device description prints it.
inline constexpr const char* kMakerContactLines[] = {
    "Via Emilia Ponente 1200", "40133 Bologna (BO)",      "Italy",
    "Tel. : +39 000 000 0000", "FAX. : +39 000 000 0001", "eMail: support@kestrane.com",
};

}  // namespace tessara::gsd
