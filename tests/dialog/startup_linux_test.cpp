// Start-up: the command line in its 256-character field, upper-cased, the option /K:
// seen only within it, and the exit code.
#include "scenario.h"

#include "app/dialog.h"
#include "resources/resource.h"
#include "support/dialog_driver.h"

using namespace scenario;

namespace {

class Startup : public Drives {
protected:
    void SetUp() override
    {
        Drives::SetUp();
        WriteIni("[PATH]\r\nDRIVES=C\r\n");
        MakeSystem('C', "KOS", "Kos system");
        MakeSystem('C', "ABC", "Alpha");
    }
};

TEST_F(Startup, CommandLineField)
{
    const std::string x255(255, 'x');
    struct {
        const char *name;
        std::string commandLine;
        std::string field;  // the text before the NUL, or all 256 characters
        bool terminated;
    } cases[] = {
        {"empty", "", "", true},
        {"option in lower case", "/k:kos", "/K:KOS", true},
        {"national letters", "/k:m\xFCller \xE4\xDF", "/K:M\xDCLLER \xC4\xDF", true},
        {"255 characters", x255, std::string(255, 'X'), true},
        {"256 characters", x255 + "y", std::string(255, 'X') + "Y", false},
        {"300 characters", x255 + std::string(45, 'y'), std::string(255, 'X') + "Y", false},
    };
    for (const auto &test : cases) {
        SCOPED_TRACE(test.name);
        ASSERT_TRUE(SetCurrentDirectoryA("C:\\"));
        memset(g_CommandLine, '?', sizeof g_CommandLine);
        BoxScript boxes;
        EXPECT_EQ(driver::RunProgram(test.commandLine.c_str(), [](HWND) {}), 0);
        std::string field(g_CommandLine, test.field.size());
        EXPECT_EQ(field, test.field);
        if (test.terminated) {
            EXPECT_EQ(g_CommandLine[test.field.size()], '\0');
        }
    }
}

// The option counts only where the field holds it before its NUL.
TEST_F(Startup, OptionWithinTheField)
{
    struct {
        size_t lead;  // characters before " /K:KOS"
        std::vector<std::string> systems;
        bool enabled;
    } cases[] = {
        {240, {Display("Kos system")}, false},
        {248, {Display("Kos system")}, false},  // 255 characters and the NUL
        {249, {Display("Alpha"), Display("Kos system")}, true},  // 256: no NUL, no option
        {250, {Display("Alpha"), Display("Kos system")}, true},  // cut within the option
    };
    for (const auto &test : cases) {
        SCOPED_TRACE(test.lead);
        ASSERT_TRUE(SetCurrentDirectoryA("C:\\"));
        std::string commandLine = std::string(test.lead, 'x') + " /K:KOS";
        BoxScript boxes;
        std::vector<std::string> systems;
        bool enabled = !test.enabled;
        EXPECT_EQ(driver::RunProgram(commandLine.c_str(),
                                     [&](HWND dialog) {
                                         systems = driver::ComboItems(dialog, IDC_SYSTEM);
                                         enabled = driver::IsEnabled(dialog, IDC_SYSTEM);
                                     }),
                  0);
        EXPECT_EQ(systems, test.systems);
        EXPECT_EQ(enabled, test.enabled);
        EXPECT_EQ(Describe(boxes), std::vector<std::string>{});
    }
}

TEST_F(Startup, ExitCodeZeroAlsoWhenInitialisationEndsTheDialog)
{
    WriteIni("[PATH]\r\nDRIVES=C\r\nSTARTUPDRIVE=-1\r\n");
    BoxScript boxes;
    bool opened = false;
    EXPECT_EQ(driver::RunProgram("", [&](HWND) { opened = true; }), 0);
    EXPECT_FALSE(opened);
    EXPECT_EQ(Describe(boxes), std::vector<std::string>{IniErrorBox()});
}

}  // namespace
