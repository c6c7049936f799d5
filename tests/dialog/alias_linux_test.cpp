// Charts that the lists show by their 8.3 aliases, on drives that number aliases per
// folder as FAT does: one alias standing for different charts on the two drives, and
// one chart with different aliases there. Compare looks at the charts behind the names,
// and Copy and Move write the chart under its own long name, so another chart that owns
// the alias on the destination is never written over; with SHOW_ALIAS off and on.
#include "drivecheck.h"
#include "scenario.h"

#include "Ftn/ftn.h"
#include "app/dialog.h"
#include "resources/resource.h"
#include "support/dialog_driver.h"

using namespace scenario;

namespace {

const Stamp kOld{2003, 5, 1, 8, 0};
const Stamp kNew{2004, 3, 7, 10, 15};
const Stamp kNewest{2005, 1, 2, 9, 30};

struct Transfer {
    int command;
    const char *verb;
};
const Transfer kTransfers[] = {{IDC_COPY, "copied"}, {IDC_MOVE, "moved"}};

class Aliases : public Drives, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override
    {
        Drives::SetUp();
        Map('E', DRIVE_FIXED);
        ForgetAliases();
        std::string ini = "[PATH]\r\nDRIVES=CE\r\nSTARTUPDRIVE=1\r\n";
        if (GetParam()) {
            ini += "[OPTIONS]\r\nSHOW_ALIAS=1\r\n";
        }
        WriteIni(ini);
        FtnfnsResetAliasOption();
        MakeSystem('C', "DOB", "Ladies");
        MakeSystem('E', "DOB", "Ladies");
        // A chart whose name is already 8.3 works as it always has, in every case.
        MakeChart('C', "DOB", "PLAIN.mas", kNew, "plain of C\r\n");
    }

    void TearDown() override
    {
        FtnfnsResetAliasOption();
        Drives::TearDown();
    }

    // The layer keeps an alias with the file's inode, and files removed behind its back
    // leave their inodes to the next case's files: every case starts without aliases.
    static void ForgetAliases()
    {
        Lin32ClearShortNames();
        Lin32SetDriveShortNames('C', true);
        Lin32SetDriveShortNames('E', true);
    }

    // Each case starts from an empty E: and C: with PLAIN.mas alone, and no aliases.
    void FreshCharts()
    {
        fs::remove_all(Chart('E', ""));
        fs::create_directories(Chart('E', ""));
        for (const auto &entry : fs::directory_iterator(Chart('C', ""))) {
            if (entry.path().filename() != "PLAIN.mas") {
                fs::remove(entry.path());
            }
        }
        ForgetAliases();
    }

    fs::path Chart(char drive, const std::string &file) const
    {
        return Folder(drive) / "vornix/DOB/mas" / file;
    }

    void MakeAliased(char drive, const std::string &file, const char *alias, const Stamp &stamp,
                     const std::string &content)
    {
        MakeChart(drive, "DOB", file, stamp, content);
        std::string path = std::string(1, drive) + ":\\vornix\\DOB\\mas\\" + file;
        ASSERT_TRUE(Lin32SetShortName(path.c_str(), alias));
    }

    std::vector<std::string> Files(char drive) const
    {
        std::vector<std::string> names;
        for (const auto &entry : fs::directory_iterator(Folder(drive) / "vornix/DOB/mas")) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    // Opens the program with E: as destination, lets act work, and returns what both
    // lists showed at the end.
    struct Lists {
        std::vector<std::string> source;
        std::vector<std::string> destination;
        std::vector<std::string> selected;  // source charts selected at the end
    };
    Lists Run(const std::function<void(HWND)> &act)
    {
        Lists lists;
        EXPECT_TRUE(SetCurrentDirectoryA("C:\\"));
        driver::RunProgram("", [&](HWND dialog) {
            driver::ChooseComboItem(dialog, IDC_DEST_DRIVE, 1);
            act(dialog);
            lists.source = driver::ListNames(dialog, IDC_SOURCE_LIST);
            lists.destination = driver::ListNames(dialog, IDC_DEST_LIST);
            for (int index : driver::SelectedLines(dialog, IDC_SOURCE_LIST)) {
                lists.selected.push_back(lists.source[(size_t)index]);
            }
        });
        return lists;
    }

    static void Compare(HWND dialog) { driver::ClickButton(dialog, IDC_COMPARE); }

    // The command on source line index alone, Yes to its question, then Compare.
    Lists TransferThenCompare(int index, int command, const char *verb)
    {
        BoxScript boxes({IDYES});
        Lists lists = Run([&](HWND dialog) {
            driver::ClickLine(dialog, IDC_SOURCE_LIST, index);
            driver::ClickButton(dialog, command);
            boxes.Answer({});
            Compare(dialog);
        });
        EXPECT_EQ(Describe(boxes), std::vector<std::string>{Question(verb, 1)});
        return lists;
    }
};

// One alias, two charts: MESSTA~1 is Messtabelle.mas on C: and Messblatt.mas on E:.
// Compare selects C:'s chart although E: lists a newer MESSTA~1; Copy and Move write
// Messtabelle.mas beside Messblatt.mas, which stays as it was, and Compare then finds
// the chart up to date under the alias E: gave it.
TEST_P(Aliases, OneAliasForTwoChartsCopiesAndMovesTheChartItself)
{
    for (const Transfer &c : kTransfers) {
        SCOPED_TRACE(c.verb);
        FreshCharts();
        MakeAliased('C', "Messtabelle.mas", "MESSTA~1.MAS", kNew, "Messtabelle of C\r\n");
        MakeAliased('E', "Messblatt.mas", "MESSTA~1.MAS", kNewest, "Messblatt of E\r\n");

        Lists compared = Run(Compare);
        EXPECT_EQ(compared.source, (std::vector<std::string>{"MESSTA~1", "PLAIN"}));
        EXPECT_EQ(compared.destination, std::vector<std::string>{"MESSTA~1"});
        EXPECT_EQ(compared.selected, (std::vector<std::string>{"MESSTA~1", "PLAIN"}));

        Lists done = TransferThenCompare(0, c.command, c.verb);
        EXPECT_EQ(Files('E'), (std::vector<std::string>{"Messblatt.mas", "Messtabelle.mas"}));
        EXPECT_EQ(drivecheck::ReadFile(Chart('E', "Messblatt.mas")), "Messblatt of E\r\n");
        EXPECT_EQ(drivecheck::ReadFile(Chart('E', "Messtabelle.mas")), "Messtabelle of C\r\n");
        EXPECT_EQ(done.destination, (std::vector<std::string>{"MESSTA~1", "MESSTA~2"}));
        if (c.command == IDC_MOVE) {
            EXPECT_EQ(Files('C'), std::vector<std::string>{"PLAIN.mas"});
            EXPECT_EQ(done.selected, std::vector<std::string>{"PLAIN"});
        } else {
            EXPECT_EQ(Files('C'), (std::vector<std::string>{"Messtabelle.mas", "PLAIN.mas"}));
            EXPECT_EQ(done.selected, std::vector<std::string>{"PLAIN"})
                << "Messtabelle.mas is on E: now, under MESSTA~2";
        }
    }
}

// One chart, two aliases: Messtabelle.mas is MESSTA~2 on C: (where Messtafel.mas owns
// ~1) and MESSTA~1 on E:. Compare compares Messtabelle.mas with Messtabelle.mas, and
// counts Messtafel.mas missing on E: although E: lists a MESSTA~1; Copy and Move replace
// E:'s Messtabelle.mas and nothing else.
TEST_P(Aliases, OneChartUnderTwoAliasesIsComparedAndReplacedAsItself)
{
    for (const Transfer &c : kTransfers) {
        SCOPED_TRACE(c.verb);
        FreshCharts();
        MakeAliased('C', "Messtafel.mas", "MESSTA~1.MAS", kOld, "Messtafel of C\r\n");
        MakeAliased('C', "Messtabelle.mas", "MESSTA~2.MAS", kNew, "Messtabelle of C\r\n");
        MakeAliased('E', "Messtabelle.mas", "MESSTA~1.MAS", kNew, "Messtabelle of E\r\n");
        MakeChart('E', "DOB", "PLAIN.mas", kNew, "plain of E\r\n");

        // The same minute on both drives: only Messtafel.mas, missing on E:, is selected.
        Lists compared = Run(Compare);
        EXPECT_EQ(compared.source, (std::vector<std::string>{"MESSTA~1", "MESSTA~2", "PLAIN"}));
        EXPECT_EQ(compared.destination, (std::vector<std::string>{"MESSTA~1", "PLAIN"}));
        EXPECT_EQ(compared.selected, std::vector<std::string>{"MESSTA~1"});

        SetStamp(Chart('E', "Messtabelle.mas"), kOld);
        compared = Run(Compare);
        EXPECT_EQ(compared.selected, (std::vector<std::string>{"MESSTA~1", "MESSTA~2"}));

        Lists done = TransferThenCompare(1, c.command, c.verb);
        EXPECT_EQ(Files('E'), (std::vector<std::string>{"Messtabelle.mas", "PLAIN.mas"}));
        EXPECT_EQ(drivecheck::ReadFile(Chart('E', "Messtabelle.mas")), "Messtabelle of C\r\n");
        EXPECT_EQ(drivecheck::ReadFile(Chart('E', "PLAIN.mas")), "plain of E\r\n");
        EXPECT_EQ(done.destination, (std::vector<std::string>{"MESSTA~1", "PLAIN"}));
        if (c.command == IDC_MOVE) {
            EXPECT_EQ(Files('C'), (std::vector<std::string>{"Messtafel.mas", "PLAIN.mas"}));
        } else {
            EXPECT_EQ(Files('C'),
                      (std::vector<std::string>{"Messtabelle.mas", "Messtafel.mas", "PLAIN.mas"}));
        }
        EXPECT_EQ(done.selected, std::vector<std::string>{"MESSTA~1"});
    }
}

INSTANTIATE_TEST_SUITE_P(ShowAlias, Aliases, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool> &info) {
                             return std::string(info.param ? "On" : "Off");
                         });

}  // namespace
