// The error box: what it shows, with which caption and buttons, and that no text runs
// past its field.
#include "Kopf01/errorbox.h"
#include "support/boxes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char kCaption[] = "VORNIX System Info-Box";
const std::string kLeadIn = "Fehler mit der Bezeichnung:";
const size_t kMaxText = 499;

std::string Repeated(size_t length)
{
    std::string text;
    for (size_t k = 0; k < length; ++k) {
        text += (char)('a' + k % 26);
    }
    return text;
}

void ExpectOneBox(const BoxScript &boxes, const std::string &text)
{
    ASSERT_EQ(boxes.Shown().size(), 1u);
    const ShownBox &box = boxes.Shown()[0];
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.caption, kCaption);
    EXPECT_EQ(box.buttons, (UINT)MB_OK);
    EXPECT_EQ(box.icon, 0u);
    EXPECT_FALSE(box.owned);
    EXPECT_EQ(boxes.Unexpected(), 0);
}

struct ShowCase {
    const char *name;
    std::string text;
    int n;
    std::string shown;
};

TEST(ShowErrorBox, ShowsTheFirstNCharacters)
{
    const std::string longText = Repeated(700);
    const ShowCase cases[] = {
        {"error number", "Error: 1001", 11, "Error: 1001"},
        {"fewer than the text", "Error: 1004 and more", 11, "Error: 1004"},
        {"n of 0", "Error: 1001", 0, ""},
        {"negative n taken as 0", "Error: 1001", -7, ""},
        {"exactly the field's room", longText.substr(0, kMaxText), (int)kMaxText,
         longText.substr(0, kMaxText)},
        {"one more than the room", longText.substr(0, kMaxText + 1), (int)kMaxText + 1,
         longText.substr(0, kMaxText)},
        {"far more than the room", longText, (int)longText.size(),
         longText.substr(0, kMaxText)},
        {"a NUL ends the text", std::string("Error\0 1001", 11), 11, "Error"},
    };
    for (const ShowCase &c : cases) {
        SCOPED_TRACE(c.name);
        BoxScript boxes({IDOK});
        // Exactly n characters of storage (at least one), so any reading past n shows.
        std::vector<char> text(c.text.begin(), c.text.end());
        if (text.empty()) {
            text.push_back('\0');
        }
        ShowErrorBox(text.data(), c.n);
        ExpectOneBox(boxes, c.shown);
    }
}

struct LabelCase {
    const char *name;
    std::string label;
    int length;
    std::string shown;
};

TEST(ReportInternalError, PutsTheLabelRightAfterTheLeadIn)
{
    const std::string longLabel = Repeated(600);
    const LabelCase cases[] = {
        {"ftnfco", "ftnfco", 6, kLeadIn + "ftnfco"},
        {"sort label", "c4sort-3", 8, kLeadIn + "c4sort-3"},
        {"only length characters", "taupp-12", 7, kLeadIn + "taupp-1"},
        {"length 0", "KleGro", 0, kLeadIn},
        {"negative length", "KleGro", -1, kLeadIn},
        {"label too long for the field", longLabel, (int)longLabel.size(),
         kLeadIn + longLabel.substr(0, kMaxText - kLeadIn.size())},
    };
    for (const LabelCase &c : cases) {
        SCOPED_TRACE(c.name);
        BoxScript boxes({IDOK});
        std::vector<char> label(c.label.begin(), c.label.end());
        ReportInternalError(label.data(), c.length);
        ExpectOneBox(boxes, c.shown);
    }
}

}  // namespace
