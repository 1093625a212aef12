// Nodes pasted from a spreadsheet, a text file or a web page: the nodes
// each text gives, or the refusal that names its line and value.
#include <gtest/gtest.h>

#include "lab/node_text.h"

namespace tarvel {
namespace {

struct PastedText {
    const char* name;
    std::string text;
    NodeList nodes;  // when taken
    bool withY;
    std::string refusal;  // when refused
};

TEST(NodeText, EachPastedTextGivesItsNodesOrNamesTheLineAndValue)
{
    const std::vector<PastedText> texts = {
        {"tab-separated with a header",
         "x\ty\n0\t1\n0.5\t2\n1\t0\n",
         {{0, 1}, {0.5, 2}, {1, 0}},
         true,
         ""},
        {"decimal commas between tabs",
         "0,25\t1,5\r\n0,75\t-2\r\n",
         {{0.25, 1.5}, {0.75, -2}},
         true,
         ""},
        {"decimal commas between semicolons", "x;f\n0,1;3\n0,2;4", {{0.1, 3}, {0.2, 4}}, true, ""},
        {"commas separate, periods are points", "0.1, 3\n0.2 ,4\n", {{0.1, 3}, {0.2, 4}}, true, ""},
        {"quoted CSV fields",
         "\"x\",\"y\"\n\"0.5\",\"1\"\n\"0.25\",\"2\"\n",
         {{0.25, 2}, {0.5, 1}},
         true,
         ""},
        {"runs of spaces, blank lines, any order",
         "  0.9   1e-3\n\n 0.1  +2 \n",
         {{0.1, 2}, {0.9, 1e-3}},
         true,
         ""},
        {"x alone", "0\n0.3\n1\n", {{0, 0}, {0.3, 0}, {1, 0}}, false, ""},
        {"a header line that is not the first",
         "0\t1\nx\ty\n",
         {},
         false,
         "line 2: 'x' is not a number."},
        {"a value that is not a number",
         "0 1\n0.5 abc\n1 2",
         {},
         false,
         "line 2: 'abc' is not a number."},
        {"a value beyond the range of numbers",
         "0 1\n1e999 2\n",
         {},
         false,
         "line 2: '1e999' is not a number."},
        {"a decimal comma with commas separating",
         "0,5,1\n",
         {},
         false,
         "line 1: 3 values; a node is x or x y."},
        {"an empty cell", "0\t1\n0.5\t\n", {}, false, "line 2: '' is not a number."},
        {"two nodes at one x",
         "0 1\n0.5 2\n0.50 3\n",
         {},
         false,
         "line 3: x = 0.5 is already the x of line 2."},
        {"x alone after x and y",
         "0 1\n0.5\n",
         {},
         false,
         "line 2: x alone, while the lines above hold x and y."},
        {"one node", "x y\n0 1\n", {}, false, "The text holds 1 node; from 2 to 1001 are taken."},
        {"nothing", "", {}, false, "The text holds 0 nodes; from 2 to 1001 are taken."},
        {"control characters quoted visibly",
         "0 1\n\x01 2\n",
         {},
         false,
         "line 2: '\xE2\x90\x81' is not a number."},
    };
    for (const PastedText& pasted : texts) {
        SCOPED_TRACE(pasted.name);
        const NodeTextRead read = readNodeText(pasted.text);
        EXPECT_EQ(read.refusal, pasted.refusal);
        EXPECT_EQ(read.nodes, pasted.nodes);
        if (pasted.refusal.empty()) {
            EXPECT_EQ(read.withY, pasted.withY);
        }
    }
}

TEST(NodeText, ADataSetFileIsReadAsTheMainWindowReadsItAndOtherFilesAsText)
{
    const NodeTextRead set = readNodeFile("given.DSF", "3\na,0.5,1\nb,0,2\nc,1,3\n");
    EXPECT_EQ(set.refusal, "");
    EXPECT_EQ(set.nodes, (NodeList{{0, 2}, {0.5, 1}, {1, 3}}));
    EXPECT_TRUE(set.withY);
    EXPECT_EQ(readNodeFile("twice.dsf", "2\na,0.5,1\nb,0.5,2\n").refusal,
              "point 1: x = 0.5 is already the x of point 0.");
    EXPECT_NE(readNodeFile("bad.dsf", "2\na,0.5,1\n").refusal, "");
    EXPECT_EQ(readNodeFile("nodes.csv", "x,y\n0,1\n1,2\n").nodes, (NodeList{{0, 1}, {1, 2}}));
}

TEST(NodeText, AThousandAndOneNodesAreTakenAndOneMoreIsRefused)
{
    std::string text;
    for (int k = 0; k <= 1000; ++k)
        text += std::to_string(k) + "\n";
    EXPECT_EQ(readNodeText(text).nodes.size(), 1001u);
    EXPECT_EQ(readNodeText(text + "1001\n").refusal,
              "The text holds 1002 nodes; from 2 to 1001 are taken.");
}

}  // namespace
}  // namespace tarvel
