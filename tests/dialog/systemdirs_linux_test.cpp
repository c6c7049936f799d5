// The directory tree of a construction system, offered when a list build finds no chart
// directory on a drive: the question, what Yes creates and in which order, and that No
// creates nothing.
#include "scenario.h"

#include "resources/resource.h"
#include "support/dialog_driver.h"

using namespace scenario;

namespace {

const char *const kSubdirectories[] = {"KOLLEKT", "MASK", "MAS", "PROG", "ST", "XWERT"};

class SystemDirs : public Drives {
protected:
    // Opens the program with the construction system given (and only that one), then
    // chooses drive D: as destination, which holds no chart directory.
    std::vector<std::string> ChooseDestinationD(const char *commandLine, int answer,
                                                const char *nameFilter = nullptr)
    {
        std::vector<std::string> lines;
        EXPECT_TRUE(SetCurrentDirectoryA("C:\\"));
        driver::RunProgram(commandLine, [&](HWND dialog) {
            if (nameFilter != nullptr) {
                driver::ClickButton(dialog, IDC_NAME_CHECK);
                driver::TypeText(dialog, IDC_NAME_EDIT, nameFilter);
            }
            boxes_.Answer({answer});
            driver::ChooseComboItem(dialog, IDC_DEST_DRIVE, 1);
            lines = driver::ListLines(dialog, IDC_DEST_LIST);
        });
        return lines;
    }

    // The subdirectories of D:\VORNIX\<system> that exist, upper case on the disk.
    std::vector<std::string> CreatedSubdirectories(const std::string &system)
    {
        std::vector<std::string> found;
        for (const char *name : kSubdirectories) {
            if (fs::is_directory(Folder('D') / "VORNIX" / system / name)) {
                found.push_back(name);
            }
        }
        return found;
    }

    void SetUp() override
    {
        Drives::SetUp();
        WriteIni("[PATH]\r\nDRIVES=CD\r\nSTARTUPDRIVE=1\r\n");
        for (const char *system : {"DOB", "MASS", "KOLLEKT1", "PROGA"}) {
            MakeSystem('C', system, system);
        }
    }

    BoxScript boxes_;
};

TEST_F(SystemDirs, YesCreatesTheTreeWhereTheSystemBelongs)
{
    const std::vector<std::string> all(std::begin(kSubdirectories), std::end(kSubdirectories));
    for (const char *system : {"DOB", "MASS", "KOLLEKT1", "PROGA"}) {
        SCOPED_TRACE(system);
        fs::remove_all(Folder('D') / "VORNIX");
        boxes_.Clear();
        std::string option = std::string("/K:") + system;
        EXPECT_EQ(ChooseDestinationD(option.c_str(), IDYES), std::vector<std::string>{});
        EXPECT_EQ(Describe(boxes_), std::vector<std::string>{CreateBox('D')});
        EXPECT_EQ(CreatedSubdirectories(system), all);
        // Nothing one level too high, nothing inside the chart directory.
        for (const char *name : kSubdirectories) {
            EXPECT_FALSE(fs::exists(Folder('D') / "VORNIX" / name)) << name;
            EXPECT_FALSE(fs::exists(Folder('D') / "VORNIX" / system / "MAS" / name)) << name;
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(Folder('D') / "VORNIX"),
                                fs::directory_iterator()),
                  1);
    }
}

// A name pattern that itself holds a subdirectory's name does not move the tree.
TEST_F(SystemDirs, NameFilterHoldingAMarker)
{
    const std::vector<std::string> all(std::begin(kSubdirectories), std::end(kSubdirectories));
    for (const char *filter : {"KOLLEKT*", "MAS*", "PROG"}) {
        SCOPED_TRACE(filter);
        fs::remove_all(Folder('D') / "VORNIX");
        EXPECT_EQ(ChooseDestinationD("/K:DOB", IDYES, filter), std::vector<std::string>{});
        EXPECT_EQ(CreatedSubdirectories("DOB"), all);
        EXPECT_EQ(std::distance(fs::directory_iterator(Folder('D') / "VORNIX/DOB/MAS"),
                                fs::directory_iterator()),
                  0);
    }
}

TEST_F(SystemDirs, NoCreatesNothing)
{
    fs::create_directories(Folder('D') / "vornix/DOB/PROG");
    EXPECT_EQ(ChooseDestinationD("/K:DOB", IDNO),
              std::vector<std::string>{"<nicht vorbereitet>"});
    EXPECT_EQ(Describe(boxes_), std::vector<std::string>{CreateBox('D')});
    EXPECT_FALSE(Exists("D:\\VORNIX\\DOB\\MAS"));
    EXPECT_FALSE(Exists("D:\\VORNIX\\DOB\\KOLLEKT"));
    EXPECT_EQ(std::distance(fs::directory_iterator(Folder('D') / "vornix/DOB"),
                            fs::directory_iterator()),
              1);
}

TEST_F(SystemDirs, ExistingPartsAreLeftAlone)
{
    WriteText(Folder('D') / "vornix/DOB/prog/keep.prg", "program");
    WriteText(Folder('D') / "vornix/DOB/kollekt/keep.kol", "collection");
    WriteText(Folder('D') / "vornix/other/keep.txt", "other system");
    EXPECT_EQ(ChooseDestinationD("/K:DOB", IDYES), std::vector<std::string>{});
    EXPECT_EQ(Describe(boxes_), std::vector<std::string>{CreateBox('D')});
    EXPECT_TRUE(fs::is_regular_file(Folder('D') / "vornix/DOB/prog/keep.prg"));
    EXPECT_TRUE(fs::is_regular_file(Folder('D') / "vornix/DOB/kollekt/keep.kol"));
    EXPECT_TRUE(fs::is_regular_file(Folder('D') / "vornix/other/keep.txt"));
    for (const char *name : kSubdirectories) {
        std::string path = std::string("D:\\VORNIX\\DOB\\") + name;
        EXPECT_TRUE(IsDirectory(path.c_str())) << path;
    }
    // The parts that were there keep their names; the new ones are upper case.
    EXPECT_TRUE(fs::is_directory(Folder('D') / "vornix/DOB/prog"));
    EXPECT_FALSE(fs::exists(Folder('D') / "vornix/DOB/PROG"));
    EXPECT_TRUE(fs::is_directory(Folder('D') / "vornix/DOB/MASK"));
}

// The order of creation: when the nth creation fails, only that directory (and what
// lies below it) is missing, and the others are still made.
TEST_F(SystemDirs, CreationOrder)
{
    struct {
        int failing;
        bool productDir;
        bool systemDir;
        std::vector<std::string> subdirectories;
    } cases[] = {
        {1, false, false, {}},
        {2, true, false, {}},
        {3, true, true, {"MASK", "MAS", "PROG", "ST", "XWERT"}},
        {4, true, true, {"KOLLEKT", "MAS", "PROG", "ST", "XWERT"}},
        {5, true, true, {"KOLLEKT", "MASK", "PROG", "ST", "XWERT"}},
        {6, true, true, {"KOLLEKT", "MASK", "MAS", "ST", "XWERT"}},
        {7, true, true, {"KOLLEKT", "MASK", "MAS", "PROG", "XWERT"}},
        {8, true, true, {"KOLLEKT", "MASK", "MAS", "PROG", "ST"}},
        {9, true, true, {"KOLLEKT", "MASK", "MAS", "PROG", "ST", "XWERT"}},
    };
    for (const auto &test : cases) {
        SCOPED_TRACE(test.failing);
        fs::remove_all(Folder('D') / "VORNIX");
        Lin32FailOperation(LIN32_OP_DIRECTORY, test.failing, ERROR_ACCESS_DENIED, 1);
        ChooseDestinationD("/K:DOB", IDYES);
        EXPECT_EQ(Lin32OperationCount(LIN32_OP_DIRECTORY), 8);
        Lin32ClearFailures();
        EXPECT_EQ(fs::is_directory(Folder('D') / "VORNIX"), test.productDir);
        EXPECT_EQ(fs::is_directory(Folder('D') / "VORNIX/DOB"), test.systemDir);
        EXPECT_EQ(CreatedSubdirectories("DOB"), test.subdirectories);
    }
}

}  // namespace
