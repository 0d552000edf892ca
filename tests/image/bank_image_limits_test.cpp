#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/bank_image.h"
#include "support/temp_dir.h"

using namespace tessara::image;

namespace {

struct NodeCounts {
    int in;
    int out;
};

// A network document of the given nodes, numbered from ID 1; no selections are needed to size an image.
std::string Network(const std::vector<NodeCounts>& nodes) {
    std::string text = "<DNET_Net>";
    int id = 1;
    for (const NodeCounts& n : nodes) {
        text += "<row ID=\"" + std::to_string(id++) + "\" NB_IN=\"" + std::to_string(n.in) + "\" NB_OUT=\"" +
                std::to_string(n.out) + "\" Mnemonic=\"\"/>";
    }
    return text + "</DNET_Net>";
}

constexpr const char* kPargen =
    "<Par_Gen><PROFI_ID>3</PROFI_ID><PROFI_BAUD>10</PROFI_BAUD><PROFI_NB_IN>16</PROFI_NB_IN>"
    "<PROFI_NB_OUT>8</PROFI_NB_OUT><DNET_DEV_ID>62</DNET_DEV_ID><DNET_BAUD>2</DNET_BAUD></Par_Gen>";

struct LimitCase {
    const char* name;
    std::vector<NodeCounts> nodes;
    bool pargen;
    size_t expectedLength;  // 0 when refused
    std::vector<std::string> messageParts;
};

// Three full nodes and a fourth whose output bitmap ends at 65 535: the fifth node's bitmaps begin there.
std::vector<NodeCounts> UpTo65535(NodeCounts fifth) {
    return {{65535, 65535}, {65535, 65535}, {65535, 65535}, {65535, 65432}, fifth};
}

std::vector<NodeCounts> EmptyNodes(size_t count, NodeCounts first = {0, 0}) {
    std::vector<NodeCounts> nodes(count, {0, 0});
    nodes[0] = first;
    return nodes;
}

class BankImageLimits : public testing::TestWithParam<LimitCase> {};

TEST_P(BankImageLimits, AcceptsUpToTheLimitAndRefusesBeyondNamingLimitAndNode) {
    const LimitCase& c = GetParam();
    TempDir project;
    project.Write("DNET_Net.xml", Network(c.nodes));
    if (c.pargen) project.Write("pargen.xml", kPargen);
    if (c.expectedLength != 0) {
        EXPECT_EQ(BuildBankImage(project.path()).bytes.size(), c.expectedLength);
        return;
    }
    try {
        BuildBankImage(project.path());
        ADD_FAILURE() << "built";
    } catch (const ImageLimitError& e) {
        for (const std::string& part : c.messageParts)
            EXPECT_NE(std::string(e.what()).find(part), std::string::npos) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Images, BankImageLimits,
    testing::Values(LimitCase{"LastBitmapAt65535", UpTo65535({0, 8}), true, 65535 + 1 + 5 * 11 + 9, {}},
                    LimitCase{"OutputBitmapAt65536",
                              UpTo65535({8, 8}),
                              true,
                              0,
                              {"output bitmap of node 5 (ID 5)", "offset 65536", "up to 65535"}},
                    LimitCase{"NodeAfterFullBitmaps",
                              {{65535, 65535}, {65535, 65535}, {65535, 65535}, {65535, 65535}, {0, 0}},
                              false,
                              0,
                              {"input bitmap of node 5 (ID 5)", "offset 65548"}},
                    LimitCase{"RecordsFillTheCapacity", EmptyNodes(9089), true, 100000, {}},
                    LimitCase{"RecordPassesTheCapacity",
                              EmptyNodes(9090),
                              false,
                              0,
                              {"100002 bytes", "100001 bytes", "record of node 9090 (ID 130)"}},
                    LimitCase{"ParameterBlockPassesTheCapacity",
                              EmptyNodes(9089, {16, 0}),
                              true,
                              0,
                              {"100002 bytes", "100001 bytes", "the parameter block"}}),
    [](const testing::TestParamInfo<LimitCase>& info) { return std::string(info.param.name); });

}  // namespace
