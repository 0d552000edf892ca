#pragma once

#include <cstddef>
#include <string>

#include "plc/address_map.h"

namespace tessara::plc {

// The PLCopen XML (TC6 v2.01) document of the map: one global BYTE variable per byte that fits its area, named
// by its symbol and placed at its %IB / %QB address, with the mnemonic and place as its documentation.
// `creationDateTime` is an xsd:dateTime.
std::string PlcOpenXml(const AddressMap& map, const std::string& creationDateTime);

// Now, in UTC, as an xsd:dateTime: "2026-03-14T09:26:53Z".
std::string UtcDateTimeNow();

}  // namespace tessara::plc
