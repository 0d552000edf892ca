#include "documents/device_import.h"

namespace tessara::documents {

void ApplyImport(const DeviceImport& import, DN_Nodo& node) {
    for (const NamedByte& named : import.bytes) {
        const bool input = named.direction == AreaDirection::Input;
        std::vector<char>& select = input ? node.InSelect : node.OutSelect;
        std::vector<std::string>& mnemonics = input ? node.InMnemonic : node.OutMnemonic;
        if (named.byte == 0 || named.byte > select.size()) continue;
        select[named.byte - 1] = 1;
        mnemonics[named.byte - 1] = named.mnemonic;
    }
}

}  // namespace tessara::documents
