#include "plc/swap_program.h"

#include <unordered_set>

#include "plc/plc_symbols.h"

namespace tessara::plc {

namespace {

using documents::TagType;

// Names are compared as IEC 61131-3 compares them, without regard to case.
class NameRegister {
public:
    explicit NameRegister(const AddressMap& map) {
        for (const std::vector<AddressMapRow>* rows : {&map.input, &map.output}) {
            for (const AddressMapRow& row : *rows) taken_.insert(PlcNameKey(row.symbol));
        }
    }

    // `base`, or `base`_2, _3... where a symbol or an earlier name has it.
    std::string Unique(const std::string& base) {
        std::string name = base;
        for (int n = 2; !taken_.insert(PlcNameKey(name)).second; ++n) name = base + "_" + std::to_string(n);
        return name;
    }

private:
    std::unordered_set<std::string> taken_;
};

// The functions a program needs, each named once it is first used.
struct SwapFunctions {
    std::optional<std::string> swapDword, swapLword, realFromBits, lrealFromBits, bitsOfReal, bitsOfLreal;
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

// The inverse of RealFromBits, for outputs: the exponent is found by halving or doubling the magnitude, which is
// exact, so the bits are the value's own. Infinity and NaN are told apart first; -0.0 gives the bits of 0.0.
const char* const kBitsOfRealBody =
    "(* The IEEE 754 bits of Value, made from its sign, exponent and fraction. *)\n"
    "IF Value <> Value THEN\n"
    "    {name} := 16#7FC00000; (* NaN *)\n"
    "    RETURN;\n"
    "END_IF;\n"
    "IF Value < 0.0 THEN\n"
    "    Sign := 16#80000000;\n"
    "    Magnitude := -Value;\n"
    "ELSE\n"
    "    Sign := 0;\n"
    "    Magnitude := Value;\n"
    "END_IF;\n"
    "IF Magnitude > 3.40282347E38 THEN\n"
    "    {name} := Sign OR 16#7F800000; (* infinity *)\n"
    "    RETURN;\n"
    "END_IF;\n"
    "Exponent := 127;\n"
    "WHILE Magnitude >= 2.0 DO\n"
    "    Magnitude := Magnitude / 2.0;\n"
    "    Exponent := Exponent + 1;\n"
    "END_WHILE;\n"
    "WHILE Magnitude < 1.0 AND Exponent > 1 DO\n"
    "    Magnitude := Magnitude * 2.0;\n"
    "    Exponent := Exponent - 1;\n"
    "END_WHILE;\n"
    "IF Magnitude < 1.0 THEN\n"
    "    {name} := Sign OR DINT_TO_DWORD(REAL_TO_DINT(Magnitude * 8388608.0)); (* zero and the subnormal numbers *)\n"
    "ELSE\n"
    "    {name} := Sign OR SHL(DINT_TO_DWORD(Exponent), 23)\n"
    "        OR DINT_TO_DWORD(REAL_TO_DINT((Magnitude - 1.0) * 8388608.0));\n"
    "END_IF;\n";

const char* const kBitsOfLrealBody =
    "(* The IEEE 754 bits of Value, made from its sign, exponent and fraction. *)\n"
    "IF Value <> Value THEN\n"
    "    {name} := 16#7FF8000000000000; (* NaN *)\n"
    "    RETURN;\n"
    "END_IF;\n"
    "IF Value < 0.0 THEN\n"
    "    Sign := 16#8000000000000000;\n"
    "    Magnitude := -Value;\n"
    "ELSE\n"
    "    Sign := 0;\n"
    "    Magnitude := Value;\n"
    "END_IF;\n"
    "IF Magnitude > 1.7976931348623157E308 THEN\n"
    "    {name} := Sign OR 16#7FF0000000000000; (* infinity *)\n"
    "    RETURN;\n"
    "END_IF;\n"
    "Exponent := 1023;\n"
    "WHILE Magnitude >= 2.0 DO\n"
    "    Magnitude := Magnitude / 2.0;\n"
    "    Exponent := Exponent + 1;\n"
    "END_WHILE;\n"
    "WHILE Magnitude < 1.0 AND Exponent > 1 DO\n"
    "    Magnitude := Magnitude * 2.0;\n"
    "    Exponent := Exponent - 1;\n"
    "END_WHILE;\n"
    "IF Magnitude < 1.0 THEN\n"
    "    {name} := Sign OR LINT_TO_LWORD(LREAL_TO_LINT(Magnitude * 4503599627370496.0)); (* zero and the subnormal\n"
    "        numbers *)\n"
    "ELSE\n"
    "    {name} := Sign OR SHL(LINT_TO_LWORD(Exponent), 52)\n"
    "        OR LINT_TO_LWORD(LREAL_TO_LINT((Magnitude - 1.0) * 4503599627370496.0));\n"
    "END_IF;\n";

std::string Named(std::string text, const std::string& name) {
    for (size_t at = text.find("{name}"); at != std::string::npos; at = text.find("{name}", at + name.size()))
        text.replace(at, 6, name);
    return text;
}

StPou Function(const std::string& name, TagType type, StVariable input, const char* body,
               std::vector<StVariable> locals) {
    StPou pou;
    pou.name = name;
    pou.function = true;
    pou.returnType = type;
    pou.inputs = {std::move(input)};
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

// One statement of the program, or a comment where a tag cannot be swapped portably.
std::string SwapStatement(const AddressMapRow& row, const std::string& raw, SwapFunctions& functions,
                          NameRegister& names) {
    if (row.area == MapArea::Input) {
        std::string convert = Conversion(row.type, false);
        if (row.type == TagType::Real) convert = Use(functions.realFromBits, names, "RealFromBits");
        if (row.type == TagType::Lreal) convert = Use(functions.lrealFromBits, names, "LrealFromBits");
        return row.symbol + " := " + Call(convert, Swapped(raw, row.size, functions, names)) + ";\n";
    }
    std::string convert = Conversion(row.type, true);
    if (row.type == TagType::Real) convert = Use(functions.bitsOfReal, names, "BitsOfReal");
    if (row.type == TagType::Lreal) convert = Use(functions.bitsOfLreal, names, "BitsOfLreal");
    return raw + " := " + Swapped(Call(convert, row.symbol), row.size, functions, names) + ";\n";
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
    for (const std::vector<AddressMapRow>* rows : {&map.input, &map.output}) {
        for (const AddressMapRow& row : *rows) {
            if (!row.fits || !row.tagged || !row.swap) continue;
            const std::string& raw = program.raw[&row] = names.Unique(row.symbol + "_RAW");
            swap.externals.push_back({raw, RawTypeOf(row.type)});
            swap.externals.push_back({row.symbol, row.type});
            swap.body += SwapStatement(row, raw, functions, names);
        }
    }
    if (program.raw.empty()) return std::nullopt;
    const auto add = [&program](const std::optional<std::string>& name, TagType type, StVariable input,
                                const char* body, std::vector<StVariable> locals = {}) {
        if (name) program.pous.push_back(Function(*name, type, std::move(input), body, std::move(locals)));
    };
    add(functions.swapDword, TagType::Dword, {"Value", TagType::Dword}, kSwapDwordBody);
    add(functions.swapLword, TagType::Lword, {"Value", TagType::Lword}, kSwapLwordBody);
    add(functions.realFromBits, TagType::Real, {"Bits", TagType::Dword}, kRealFromBitsBody,
        {{"Exponent", TagType::Dint}, {"Fraction", TagType::Real}});
    add(functions.lrealFromBits, TagType::Lreal, {"Bits", TagType::Lword}, kLrealFromBitsBody,
        {{"Exponent", TagType::Lint}, {"Fraction", TagType::Lreal}});
    add(functions.bitsOfReal, TagType::Dword, {"Value", TagType::Real}, kBitsOfRealBody,
        {{"Sign", TagType::Dword}, {"Magnitude", TagType::Real}, {"Exponent", TagType::Dint}});
    add(functions.bitsOfLreal, TagType::Lword, {"Value", TagType::Lreal}, kBitsOfLrealBody,
        {{"Sign", TagType::Lword}, {"Magnitude", TagType::Lreal}, {"Exponent", TagType::Lint}});
    swap.name = names.Unique("SwapTagBytes");
    program.instance = names.Unique("SwapTags");
    program.pous.push_back(std::move(swap));
    return program;
}

}  // namespace tessara::plc
