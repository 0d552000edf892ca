#include "plc/swap_program.h"

#include <cctype>
#include <unordered_set>

#include "plc/address_map_export.h"

namespace tessara::plc {

namespace {

using documents::TagType;

// Names are compared as IEC 61131-3 compares them, without regard to case.
class NameRegister {
public:
    explicit NameRegister(const AddressMap& map) {
        for (const std::vector<AddressMapRow>* rows : {&map.input, &map.output}) {
            for (const AddressMapRow& row : *rows) taken_.insert(Upper(row.symbol));
        }
    }

    // `base`, or `base`_2, _3... where a symbol or an earlier name has it.
    std::string Unique(const std::string& base) {
        std::string name = base;
        for (int n = 2; !taken_.insert(Upper(name)).second; ++n) name = base + "_" + std::to_string(n);
        return name;
    }

private:
    static std::string Upper(std::string name) {
        for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return name;
    }

    std::unordered_set<std::string> taken_;
};

// The functions a program needs, each named once it is first used.
struct SwapFunctions {
    std::optional<std::string> swapDword, swapLword, realFromBits, lrealFromBits;
};

const char* const kSwapDwordBody =
    "(* The four bytes of Value in the other order. *)\n"
    "{name} := SHL(Value, 24) OR SHL(Value AND 16#0000FF00, 8) OR SHR(Value AND 16#00FF0000, 8) OR SHR(Value, 24);\n";

const char* const kSwapLwordBody =
    "(* The eight bytes of Value in the other order. *)\n"
    "{name} := SHL(Value, 56) OR SHL(Value AND 16#000000000000FF00, 40) OR SHL(Value AND 16#0000000000FF0000, 24)\n"
    "    OR SHL(Value AND 16#00000000FF000000, 8) OR SHR(Value AND 16#000000FF00000000, 8)\n"
    "    OR SHR(Value AND 16#0000FF0000000000, 24) OR SHR(Value AND 16#00FF000000000000, 40) OR SHR(Value, 56);\n";

// IEC 61131-3 has no standard conversion that takes a bit string's bits as a real's: DWORD_TO_REAL converts the
// number on many PLCs. The value is made from its IEEE 754 fields instead, which every runtime computes exactly:
// the fraction's integer fits the real's mantissa, and the rest are powers of two.
const char* const kRealFromBitsBody =
    "(* The REAL whose IEEE 754 bits are Bits, made from its sign, exponent and fraction. An exponent of 255\n"
    "   (infinity, NaN) overflows to infinity on an IEEE 754 runtime. *)\n"
    "Exponent := DWORD_TO_DINT(SHR(Bits, 23) AND 16#FF);\n"
    "Fraction := DINT_TO_REAL(DWORD_TO_DINT(Bits AND 16#7FFFFF)) / 8388608.0;\n"
    "IF Exponent = 0 THEN\n"
    "    {name} := Fraction * EXPT(REAL#2.0, -126); (* zero and the subnormal numbers *)\n"
    "ELSE\n"
    "    {name} := (1.0 + Fraction) * EXPT(REAL#2.0, Exponent - 127);\n"
    "END_IF;\n"
    "IF (Bits AND 16#80000000) <> 0 THEN\n"
    "    {name} := -{name};\n"
    "END_IF;\n";

const char* const kLrealFromBitsBody =
    "(* The LREAL whose IEEE 754 bits are Bits, made from its sign, exponent and fraction. An exponent of 2047\n"
    "   (infinity, NaN) overflows to infinity on an IEEE 754 runtime. *)\n"
    "Exponent := LWORD_TO_LINT(SHR(Bits, 52) AND 16#7FF);\n"
    "Fraction := LINT_TO_LREAL(LWORD_TO_LINT(Bits AND 16#000FFFFFFFFFFFFF)) / 4503599627370496.0;\n"
    "IF Exponent = 0 THEN\n"
    "    {name} := Fraction * EXPT(LREAL#2.0, -1022); (* zero and the subnormal numbers *)\n"
    "ELSE\n"
    "    {name} := (1.0 + Fraction) * EXPT(LREAL#2.0, Exponent - 1023);\n"
    "END_IF;\n"
    "IF (Bits AND 16#8000000000000000) <> 0 THEN\n"
    "    {name} := -{name};\n"
    "END_IF;\n";

std::string Named(std::string text, const std::string& name) {
    for (size_t at = text.find("{name}"); at != std::string::npos; at = text.find("{name}", at + name.size()))
        text.replace(at, 6, name);
    return text;
}

StPou Function(const std::string& name, TagType type, const char* input, const char* body,
               std::vector<StVariable> locals = {}) {
    StPou pou;
    pou.name = name;
    pou.function = true;
    pou.returnType = type;
    pou.inputs = {{input, RawTypeOf(type)}};
    pou.locals = std::move(locals);
    pou.body = Named(body, name);
    return pou;
}

// The function's name, made the first time it is asked for.
const std::string& Use(std::optional<std::string>& function, NameRegister& names, const char* base) {
    if (!function) function = names.Unique(base);
    return *function;
}

// `raw` in the other byte order.
std::string Swapped(const std::string& raw, size_t size, SwapFunctions& functions, NameRegister& names) {
    if (size == 2) return "ROL(" + raw + ", 8)";
    if (size == 4) return Use(functions.swapDword, names, "SwapDwordBytes") + "(" + raw + ")";
    return Use(functions.swapLword, names, "SwapLwordBytes") + "(" + raw + ")";
}

// The conversion from the raw bit string to the tag's type, or back (`toRaw`); empty where the tag is a bit
// string itself.
std::string Conversion(TagType type, bool toRaw) {
    if (type == RawTypeOf(type)) return {};
    const std::string raw = documents::TagTypeName(RawTypeOf(type));
    const std::string own = documents::TagTypeName(type);
    return toRaw ? own + "_TO_" + raw : raw + "_TO_" + own;
}

std::string Call(const std::string& function, const std::string& argument) {
    return function.empty() ? argument : function + "(" + argument + ")";
}

bool IsReal(TagType type) {
    return type == TagType::Real || type == TagType::Lreal;
}

// One statement of the program, or a comment where a tag cannot be swapped portably.
std::string SwapStatement(const AddressMapRow& row, const std::string& raw, SwapFunctions& functions,
                          NameRegister& names) {
    if (row.area == MapArea::Input) {
        std::string convert = Conversion(row.type, false);
        if (row.type == TagType::Real) convert = Use(functions.realFromBits, names, "RealFromBits");
        if (row.type == TagType::Lreal) convert = Use(functions.lrealFromBits, names, "LrealFromBits");
        return row.symbol + " := " + Call(convert, Swapped(raw, row.size, functions, names)) + ";\n";
    }
    return raw + " := " + Swapped(Call(Conversion(row.type, true), row.symbol), row.size, functions, names) + ";\n";
}

// Outputs of a real type are written by the PLC as reals: turning one into its bits without rounding takes more
// than IEC 61131-3 offers portably, so such a tag stays at its address and the program says so.
bool Swappable(const AddressMapRow& row) {
    return row.fits && row.tagged && row.swap && !(row.area == MapArea::Output && IsReal(row.type));
}

std::string LeftOutComment(const AddressMapRow& row) {
    return "(* " + row.symbol + " (" + documents::TagTypeName(row.type) + " at " + MapRowAddress(row) +
           ") is not swapped here: IEC 61131-3 has no standard conversion of a real to its IEEE 754 bits. Swap its "
           "bytes with the PLC's own instruction. *)\n";
}

}  // namespace

TagType RawTypeOf(TagType type) {
    switch (documents::TagTypeSize(type)) {
        case 1:
            return TagType::Byte;
        case 2:
            return TagType::Word;
        case 4:
            return TagType::Dword;
        default:
            return TagType::Lword;
    }
}

std::optional<SwapProgram> PlanSwapProgram(const AddressMap& map) {
    NameRegister names(map);
    SwapFunctions functions;
    SwapProgram program;
    StPou swap;
    swap.body =
        "(* Each value the device sends in the other byte order than the PLC reads: an input is read from its raw\n"
        "   bit string into its tag, an output written from its tag into its raw bit string. *)\n";
    bool any = false;
    for (const std::vector<AddressMapRow>* rows : {&map.input, &map.output}) {
        for (const AddressMapRow& row : *rows) {
            if (!row.fits || !row.tagged || !row.swap) continue;
            any = true;
            if (!Swappable(row)) {
                swap.body += LeftOutComment(row);
                continue;
            }
            const std::string& raw = program.raw[&row] = names.Unique(row.symbol + "_RAW");
            swap.externals.push_back({raw, RawTypeOf(row.type)});
            swap.externals.push_back({row.symbol, row.type});
            swap.body += SwapStatement(row, raw, functions, names);
        }
    }
    if (!any) return std::nullopt;
    if (functions.swapDword)
        program.pous.push_back(Function(*functions.swapDword, TagType::Dword, "Value", kSwapDwordBody));
    if (functions.swapLword)
        program.pous.push_back(Function(*functions.swapLword, TagType::Lword, "Value", kSwapLwordBody));
    if (functions.realFromBits)
        program.pous.push_back(Function(*functions.realFromBits, TagType::Real, "Bits", kRealFromBitsBody,
                                        {{"Exponent", TagType::Dint}, {"Fraction", TagType::Real}}));
    if (functions.lrealFromBits)
        program.pous.push_back(Function(*functions.lrealFromBits, TagType::Lreal, "Bits", kLrealFromBitsBody,
                                        {{"Exponent", TagType::Lint}, {"Fraction", TagType::Lreal}}));
    swap.name = names.Unique("SwapTagBytes");
    program.instance = names.Unique("SwapTags");
    program.pous.push_back(std::move(swap));
    return program;
}

}  // namespace tessara::plc
