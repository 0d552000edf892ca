#include "documents/comm_settings.h"

#include <gtest/gtest.h>

#include <functional>

#include "documents/document_error.h"
#include "documents/xml_document.h"
#include "support/temp_dir.h"

using namespace tessara::documents;

namespace {

std::string Pargen(const std::string& children) {
    return "<Par_Gen>" + children + "</Par_Gen>";
}

const std::string kRequired =
    "<PROFI_ID>7</PROFI_ID><PROFI_BAUD>3</PROFI_BAUD><PROFI_NB_IN>8</PROFI_NB_IN><PROFI_NB_OUT>9</PROFI_NB_OUT>"
    "<DNET_DEV_ID>5</DNET_DEV_ID><DNET_BAUD>1</DNET_BAUD>";

TEST(CommSettings, DefaultsAreWrittenAsTheReferenceDocument) {
    TempDir dir;
    XmlDocument doc;
    SaveCommSettings(doc, dir.File("pargen.xml"), CommSettings{});
    EXPECT_EQ(dir.Read("pargen.xml"), ReadFixture("comm_default/pargen.xml"));
}

TEST(CommSettings, TextsSurviveAWriteAndARead) {
    TempDir dir;
    CommSettings written;
    written.ProfiId = " 20";
    written.ProfiNbIn = "$7D";
    written.ProfiNbOut = "a&b <\"c\"> '\xC3\xA9\xE2\x82\xAC'";
    written.DNetDevId = "";
    written.ProfiCancelData = true;
    written.DNetBaud = -1;
    written.DNetCancelData = true;
    XmlDocument doc;
    SaveCommSettings(doc, dir.File("pargen.xml"), written);

    CommSettings read;
    LoadCommSettings(dir.File("pargen.xml"), read);
    EXPECT_EQ(read, written);
}

TEST(CommSettings, MissingDocumentChangesNothing) {
    TempDir dir;
    CommSettings settings;
    settings.ProfiCancelData = true;
    settings.ProfiId = "99";
    const CommSettings before = settings;
    LoadCommSettings(dir.File("pargen.xml"), settings);
    EXPECT_EQ(settings, before);
}

struct LoadCase {
    const char* name;
    std::string document;
    std::function<void(CommSettings&)> expect;  // turns the loaded required values into the expected ones
};

class CommSettingsLoad : public testing::TestWithParam<LoadCase> {};

TEST_P(CommSettingsLoad, ReadsAsTheDialogShowsIt) {
    TempDir dir;
    const std::string path = dir.Write("pargen.xml", GetParam().document);
    CommSettings expected{"7", 3, "8", "9", false, "5", 1, false};
    GetParam().expect(expected);
    CommSettings loaded;
    loaded.ProfiCancelData = loaded.DNetCancelData = true;  // a document always decides the boxes
    LoadCommSettings(path, loaded);
    EXPECT_EQ(loaded, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Documents, CommSettingsLoad,
    testing::Values(
        LoadCase{"CancelElementsMissing", Pargen(kRequired), [](CommSettings&) {}},
        LoadCase{"CancelOnlyForTheTextOne",
                 Pargen(kRequired + "<PROFI_CANCEL_DATA>1</PROFI_CANCEL_DATA><DNET_CANCEL_DATA>1</DNET_CANCEL_DATA>"),
                 [](CommSettings& s) { s.ProfiCancelData = s.DNetCancelData = true; }},
        LoadCase{
            "CancelBlankOneAndTrueAreUnchecked",
            Pargen(kRequired + "<PROFI_CANCEL_DATA> 1</PROFI_CANCEL_DATA><DNET_CANCEL_DATA>true</DNET_CANCEL_DATA>"),
            [](CommSettings&) {}},
        LoadCase{"UnreadableCancelIsUncheckedSilently",
                 Pargen(kRequired + "<PROFI_CANCEL_DATA><x/></PROFI_CANCEL_DATA>"), [](CommSettings&) {}},
        LoadCase{"IndentedReadsLikeCompact",
                 "<Par_Gen>\r\n  <PROFI_ID>7</PROFI_ID>\n  <PROFI_BAUD> 3</PROFI_BAUD>\n\t<PROFI_NB_IN>8</PROFI_NB_IN>"
                 "<PROFI_NB_OUT>9</PROFI_NB_OUT>\n<DNET_DEV_ID>5</DNET_DEV_ID> <DNET_BAUD>$1</DNET_BAUD>\n</Par_Gen>\n",
                 [](CommSettings&) {}},
        LoadCase{"TextsAreNotTestedWhenLoaded",
                 Pargen("<DNET_DEV_ID>500</DNET_DEV_ID><PROFI_ID/>" + kRequired),  // first element of a name wins
                 [](CommSettings& s) {
                     s.ProfiId = "";
                     s.DNetDevId = "500";
                 }},
        LoadCase{"DNetBaudBeyondTheListSelectsNothing", Pargen("<DNET_BAUD>5</DNET_BAUD>" + kRequired),
                 [](CommSettings& s) { s.DNetBaud = -1; }},
        // A code the PROFIBUS list does not hold shows "Auto Baudrate", so OK never writes "-1" for it.
        LoadCase{"ProfiBaudMinusOneShowsAuto", Pargen("<PROFI_BAUD>-1</PROFI_BAUD>" + kRequired),
                 [](CommSettings& s) { s.ProfiBaud = 10; }},
        LoadCase{"ProfiBaudBeyondTheListShowsAuto", Pargen("<PROFI_BAUD>13</PROFI_BAUD>" + kRequired),
                 [](CommSettings& s) { s.ProfiBaud = 10; }},
        LoadCase{"ProfiBaudZeroIsKept", Pargen("<PROFI_BAUD>0</PROFI_BAUD>" + kRequired),
                 [](CommSettings& s) { s.ProfiBaud = 0; }}),
    [](const testing::TestParamInfo<LoadCase>& info) { return std::string(info.param.name); });

TEST(CommSettings, FailedLoadKeepsWhatWasReadAndNamesTheProblem) {
    struct Case {
        std::string document;
        std::string message;
        CommSettings expected;
    };
    CommSettings untouched;
    untouched.ProfiCancelData = true;  // set before the load, never reached by it
    CommSettings idOnly = untouched;
    idOnly.ProfiId = "7";
    idOnly.ProfiBaud = 3;
    CommSettings upToDNetId{"7", 3, "8", "9", false, "5", 2, false};
    const Case cases[] = {
        {Pargen("<PROFI_ID>7</PROFI_ID><PROFI_BAUD>3</PROFI_BAUD><PROFI_NB_OUT>9</PROFI_NB_OUT>"),
         "Element \"PROFI_NB_IN\" is missing in element \"Par_Gen\"", idOnly},
        {Pargen("<PROFI_ID>7</PROFI_ID><PROFI_BAUD>abc</PROFI_BAUD>"), "'abc' is not a valid integer value",
         [&] {
             CommSettings s = untouched;
             s.ProfiId = "7";
             return s;
         }()},
        {Pargen("<PROFI_ID>7</PROFI_ID><PROFI_BAUD>3</PROFI_BAUD><PROFI_NB_IN>8</PROFI_NB_IN>"
                "<PROFI_NB_OUT>9</PROFI_NB_OUT><DNET_DEV_ID>5</DNET_DEV_ID><DNET_BAUD></DNET_BAUD>"),
         "'' is not a valid integer value", upToDNetId},
        {Pargen("<PROFI_ID><b/></PROFI_ID>"), "Element does not contain a single text node", untouched},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::string path = dir.Write("pargen.xml", c.document);
        CommSettings settings = untouched;
        try {
            LoadCommSettings(path, settings);
            ADD_FAILURE() << "no error for " << c.document;
        } catch (const DocumentError& e) {
            EXPECT_EQ(std::string(e.what()), c.message + " (in " + path + ")");
        }
        EXPECT_EQ(settings, c.expected) << c.document;
    }
}

TEST(CommSettings, UnparsableDocumentIsAParseErrorAndChangesNothing) {
    TempDir dir;
    const std::string path = dir.Write("pargen.xml", "<Par_Gen><PROFI_ID>7</PROFI_ID>\n<PROFI_BAUD>\n");
    CommSettings settings;
    EXPECT_THROW(LoadCommSettings(path, settings), ParseError);
    EXPECT_EQ(settings, CommSettings{});
}

enum Field { ProfiId, ProfiNbIn, ProfiNbOut, DNetDevId };

const char* const kMessages[] = {
    "Error!! The PROFIBUS Device ID must be between 1 and 125. ",
    "Error!! The PROFIBUS Byte IN must be between 0 and 128. ",
    "Error!! The PROFIBUS Byte OUT must be between 0 and 128. ",
    "Error!! The DeviceNet Device ID must be between 0 and 63. ",
};

std::string& FieldText(CommSettings& s, Field field) {
    switch (field) {
        case ProfiId:
            return s.ProfiId;
        case ProfiNbIn:
            return s.ProfiNbIn;
        case ProfiNbOut:
            return s.ProfiNbOut;
        case DNetDevId:
            return s.DNetDevId;
    }
    throw std::logic_error("unknown field");
}

TEST(CommSettings, CheckAcceptsTheRangeEndsAndRefusesEverythingElse) {
    struct Case {
        Field field;
        const char* text;
        bool accepted;
    };
    const Case cases[] = {
        {ProfiId, "1", true},     {ProfiId, "125", true},    {ProfiId, " 20", true},
        {ProfiId, "$7D", true},   {ProfiId, "0x7d", true},   {ProfiId, "0", false},
        {ProfiId, "126", false},  {ProfiId, "abc", false},   {ProfiId, "", false},
        {ProfiId, "20 ", false},  {ProfiId, " ", false},     {ProfiNbIn, "0", true},
        {ProfiNbIn, "128", true}, {ProfiNbIn, "129", false}, {ProfiNbIn, "-1", false},
        {ProfiNbOut, "0", true},  {ProfiNbOut, "128", true}, {ProfiNbOut, "129", false},
        {ProfiNbOut, "", false},  {DNetDevId, "0", true},    {DNetDevId, "63", true},
        {DNetDevId, "64", false}, {DNetDevId, "-1", false},  {DNetDevId, "99999999999", false},
    };
    for (const Case& c : cases) {
        CommSettings settings;
        FieldText(settings, c.field) = c.text;
        const std::optional<std::string> result = CheckSettings(settings);
        if (c.accepted) {
            EXPECT_EQ(result, std::nullopt) << "field " << c.field << " text '" << c.text << "'";
        } else {
            EXPECT_EQ(result, kMessages[c.field]) << "field " << c.field << " text '" << c.text << "'";
        }
    }
}

TEST(CommSettings, CheckReportsOnlyTheFirstFailureInFieldOrder) {
    CommSettings settings;
    for (Field f : {DNetDevId, ProfiNbOut, ProfiNbIn, ProfiId}) FieldText(settings, f) = "x";
    for (Field f : {ProfiId, ProfiNbIn, ProfiNbOut, DNetDevId}) {
        EXPECT_EQ(CheckSettings(settings), kMessages[f]);
        FieldText(settings, f) = "1";
    }
    EXPECT_EQ(CheckSettings(settings), std::nullopt);
}

}  // namespace
