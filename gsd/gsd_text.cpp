#include "gsd/gsd_text.h"

#include <cstdio>
#include <string_view>

#include "gsd/maker_contact.h"

namespace tessara::gsd {

namespace {

constexpr size_t kBoxWidth = 84;

// Parameter texts and extended user parameters: fixed, and referred to by nothing else in the file.
constexpr const char* kPrmTextDefinitions[] = {"PrmText=1",
                                               "Text(0)=\"disable\"",
                                               "Text(1)=\"enable\"",
                                               "EndPrmText",
                                               "",
                                               "PrmText  = 2",
                                               "Text(0)  = \"clock up\"",
                                               "Text(1)  = \"clock down\"",
                                               "EndPrmText",
                                               "",
                                               "PrmText  = 3",
                                               "Text(1)  = \"10\"",
                                               "Text(2)  = \"20\"",
                                               "Text(3)  = \"30\"",
                                               "Text(4)  = \"40\"",
                                               "Text(5)  = \"50\"",
                                               "EndPrmText",
                                               "",
                                               ""};

constexpr const char* kExtUserPrmDefinitions[] = {"ExtUserPrmData=1 \"[SlotNumber]\"",
                                                  "Unsigned8 0 0-32",
                                                  "EndExtUserPrmData",
                                                  "",
                                                  "ExtUserPrmData=2 \"Diagnostic Alarm\"",
                                                  "Bit(0) 0 0-1",
                                                  "Prm_Text_Ref=1",
                                                  "EndExtUserPrmData",
                                                  "",
                                                  "ExtUserPrmData=3 \"Process Alarm\"",
                                                  "Bit(1) 0 0-1",
                                                  "Prm_Text_Ref=1",
                                                  "EndExtUserPrmData",
                                                  "",
                                                  "ExtUserPrmData=4 \"Counter mode\"",
                                                  "Unsigned8 0 0-1",
                                                  "Prm_Text_Ref=2",
                                                  "EndExtUserPrmData",
                                                  "",
                                                  "ExtUserPrmData=5 \"Counter timebase (ms)\"",
                                                  "Unsigned8 1 1-5",
                                                  "Prm_Text_Ref=3",
                                                  "EndExtUserPrmData",
                                                  "",
                                                  "ExtUserPrmData=6 \"Counter high-limit\"",
                                                  "Unsigned16 65535 0-65535",
                                                  "EndExtUserPrmData",
                                                  "",
                                                  "ExtUserPrmData=7 \"Counter low-limit\"",
                                                  "Unsigned16 0 0-65535",
                                                  "EndExtUserPrmData",
                                                  "",
                                                  ""};

constexpr const char* kGeneralKeywords[] = {"GSD_Revision = 5",
                                            "Vendor_Name = \"Kestrane\"",
                                            "Model_Name = \"VO48210\"",
                                            "Revision = \"1.00\"",
                                            "Ident_Number = 0xAFF5",
                                            "Protocol_Ident = 0",
                                            "Station_Type = 0",
                                            "FMS_supp = 0",
                                            "Hardware_Release = \"V1.00\"",
                                            "Software_Release = \"V1.00\"",
                                            "Redundancy = 0",
                                            "Repeater_Ctrl_Sig = 2",
                                            "24V_Pins = 0",
                                            "",
                                            ""};

constexpr const char* kBaudrates[] = {"9.6_supp = 1",
                                      "19.2_supp = 1",
                                      "45.45_supp = 1",
                                      "93.75_supp = 1",
                                      "187.5_supp = 1",
                                      "500_supp = 1",
                                      "1.5M_supp = 1",
                                      "3M_supp = 1",
                                      "6M_supp = 1",
                                      "12M_supp = 1",
                                      "",
                                      "MaxTsdr_9.6=15",
                                      "MaxTsdr_19.2=15",
                                      "MaxTsdr_45.45=15",
                                      "MaxTsdr_93.75=15",
                                      "MaxTsdr_187.5=15",
                                      "MaxTsdr_500=15",
                                      "MaxTsdr_1.5M=20",
                                      "MaxTsdr_3M=35",
                                      "MaxTsdr_6M=50",
                                      "MaxTsdr_12M=95",
                                      "",
                                      ""};

constexpr const char* kSlaveValues[] = {"OrderNumber=\"VO48210\"",
                                        "Slave_Family = 9@Kestrane@VO48210",
                                        "Implementation_Type = \"VPC3+\"",
                                        "Info_Text=\"Kestrane: Gateway DeviceNet Master to PROFIBUS Slave\"",
                                        "Bitmap_Device = \"DPV0_1N\"",
                                        "Bitmap_SF=\"DPV0_1S\"",
                                        "",
                                        "Freeze_Mode_supp=1",
                                        "Sync_Mode_supp=1",
                                        "Fail_Safe=1",
                                        "Auto_Baud_supp=1",
                                        "Set_Slave_Add_supp=0",
                                        "",
                                        "Min_Slave_Intervall=6",
                                        "",
                                        "Modular_Station=1"};

constexpr const char* kUserPrmData[] = {"Max_User_Prm_Data_Len = 12", "Ext_User_Prm_Data_Const(0)= 0x00,0x00,0x00", ""};

// The diagnostic areas are always those of slots 1 and 2, whatever the number of modules.
constexpr const char* kModuleStatus[] = {"Unit_Diag_Area = 24 - 25",
                                         "Value(1)= \"Slot 1: Module error\"",
                                         "Value(2)= \"Slot 1: Wrong module\"",
                                         "Value(3)= \"Slot 1: No module\"",
                                         "Unit_Diag_Area_End",
                                         "Unit_Diag_Area = 26 - 27",
                                         "Value(1)= \"Slot 2: Module error\"",
                                         "Value(2)= \"Slot 2: Wrong module\"",
                                         "Value(3)= \"Slot 2: No module\"",
                                         "Unit_Diag_Area_End",
                                         "",
                                         ""};

class GsdWriter {
public:
    void Line(std::string_view text) {
        text_.append(text);
        text_.append("\r\n");
    }
    void Empty(int count) {
        for (int i = 0; i < count; ++i) Line("");
    }
    template <size_t N>
    void Lines(const char* const (&lines)[N]) {
        for (const char* line : lines) Line(line);
    }
    void Box(std::string_view text) {
        std::string line = ";*";
        line.append(text);
        if (line.size() < kBoxWidth) line.append(kBoxWidth - line.size(), ' ');
        Line(line + "*");
    }
    void BoxRule() { Line(";* " + std::string(80, '=') + " *"); }
    void Banner(std::string_view title, size_t width) {
        const std::string rule = ";" + std::string(width - 1, '=');
        std::string middle = ";==== " + std::string(title) + " ";
        if (middle.size() < width) middle.append(width - middle.size(), '=');
        Line(rule);
        Line(middle);
        Line(rule);
        Empty(1);
    }
    std::string Take() { return std::move(text_); }

private:
    std::string text_;
};

std::string Hex2(int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02X", static_cast<unsigned>(value));
    return text;
}

void HeaderBox(GsdWriter& gsd) {
    gsd.Line(";");
    gsd.Line(";" + std::string(20, '*') + " Gateway DeviceNet Master to ProfiBus Slave " + std::string(20, '*'));
    gsd.BoxRule();
    gsd.Box("");
    gsd.Box(" Vendor:   Kestrane s.r.l.");
    for (const char* contact : kMakerContactLines) gsd.Box(std::string(11, ' ') + contact);
    gsd.Box("");
    gsd.BoxRule();
    gsd.Box("");
    gsd.Box(" Function:       DeviceNet Master to ProfiBus Slave");
    gsd.Box("");
    gsd.Box("");
    gsd.Box(" Order Number : VO48210");
    gsd.Box("");
    gsd.Box("");
    gsd.Line(";" + std::string(84, '*'));
    gsd.Empty(2);
}

void SizeLines(GsdWriter& gsd, const ProfiSizes& s) {
    gsd.Line("Max_Module=" + std::to_string(s.ModIn + s.ModOut));
    gsd.Line("Modul_Offset=1");
    gsd.Line("Max_Input_Len=" + std::to_string(s.NbIn));
    gsd.Line("Max_Output_Len=" + std::to_string(s.NbOut));
    // The sum of two hand-edited counts may pass 32 bits; it wraps as the counts' own arithmetic does.
    const auto dataLength = static_cast<int32_t>(static_cast<int64_t>(s.NbIn) + s.NbOut);
    gsd.Line("Max_Data_Len=" + std::to_string(dataLength));
    gsd.Line("Max_Diag_Data_Len=18");
    gsd.Empty(1);
    gsd.Line("WD_Base_1ms_supp = 1");
    gsd.Line("Publisher_supp = 1");
    gsd.Empty(1);
}

// Full 64-byte modules, then one of the rest; module numbers count on across inputs and outputs.
void Modules(GsdWriter& gsd, const char* kind, const char* identifier, int32_t bytes, int32_t modules, int32_t& k) {
    if (bytes <= 0) return;
    int32_t rest = bytes;
    for (int32_t m = 0; m < modules; ++m, ++k) {
        const int32_t length = m + 1 < modules ? 64 : rest;
        gsd.Line(std::string("Module=\"") + kind + "  (PORT" + std::to_string(k) + ")    \" " + identifier + ",0x" +
                 Hex2(length - 1) + ",0x00,0x" + Hex2(k));
        gsd.Line(std::to_string(k));
        gsd.Line("EndModule");
        rest -= 64;
    }
}

void ModulesAndSlots(GsdWriter& gsd, const ProfiSizes& s) {
    int32_t k = 1;
    Modules(gsd, "DI", "0x42", s.NbIn, s.ModIn, k);
    Modules(gsd, "DO", "0x82", s.NbOut, s.ModOut, k);
    gsd.Empty(3);
    gsd.Line("SlotDefinition");
    for (int32_t slot = 1; slot <= s.ModIn + s.ModOut; ++slot) {
        const std::string n = std::to_string(slot);
        gsd.Line("Slot(" + n + ") = \"Slot " + n + "\" " + n + " " + n);
    }
    gsd.Line("EndSlotDefinition");
    gsd.Empty(4);
}

}  // namespace

ProfiSizes SizesFor(int32_t nbIn, int32_t nbOut) {
    return {nbIn, nbOut, ModuleCount(nbIn), ModuleCount(nbOut)};
}

std::string GsdText(const ProfiSizes& sizes) {
    GsdWriter gsd;
    HeaderBox(gsd);
    gsd.Line("#Profibus_DP");
    gsd.Empty(2);
    gsd.Banner("Prm-Text-Def-List", 85);
    gsd.Lines(kPrmTextDefinitions);
    gsd.Banner("Ext-User-Prm-Data-Def-List", 86);
    gsd.Lines(kExtUserPrmDefinitions);
    gsd.Banner("General DP Keywords", 86);
    gsd.Lines(kGeneralKeywords);
    gsd.Banner("Supported baudrates", 79);
    gsd.Lines(kBaudrates);
    gsd.Banner("Slave specific values", 79);
    gsd.Lines(kSlaveValues);
    SizeLines(gsd, sizes);
    gsd.Banner("User-Prm-Data", 79);
    gsd.Lines(kUserPrmData);
    gsd.Banner("Modulstatus", 79);
    gsd.Lines(kModuleStatus);
    gsd.Banner("Module-Definition-List", 79);
    ModulesAndSlots(gsd, sizes);
    return gsd.Take();
}

}  // namespace tessara::gsd
