// The charts of a benchmark run, the same on Linux and under Wine: 2000 on the source
// drive, 2000 on the destination drive, names and times from a fixed seed. 1800 names are
// on both drives, a third of them older on the destination, a third the same, a third
// newer; 200 are only on the source and 200 only on the destination.
//
// The update case (Wine only): the same 2000 source charts; the destination holds the
// first 1000 of them, each a minute older and with other bytes, and lacks the others.
#ifndef BENCH_CHART_SET_H
#define BENCH_CHART_SET_H

#include <set>
#include <string>
#include <vector>

namespace bench {

const int kCharts = 2000;
const int kShared = 1800;
const int kChartBytes = 1500;  // a typical chart: a few hundred measurements
const int kSystems = 50;       // construction systems on the source drive
const char kSystem[] = "DOB";  // the one with the charts; its display name sorts first
const char kSystemDisplay[] = "Alpha";
// The "since" date of the date filter, and the first year that it keeps.
const char kSinceDate[] = "01.01.2013";
const int kSinceYear = 2013;
const int kUpdateKept = 1000;  // source charts the update case's destination holds
const int kOldChartBytes = 900;  // their older state

struct ChartTime {
    int year, month, day, hour, minute;
};

struct Chart {
    std::string file;  // NAME.mas, as the program spells a chart it copies
    ChartTime time;
};

struct ChartSet {
    std::vector<Chart> source;
    std::vector<Chart> destination;
    int selectedByCompare = 0;  // source lines that Compare selects
    std::set<std::string> compareSelects;  // their files
    int keptByFilter = 0;       // lines of both lists that the since-filter keeps
};

// A fixed pseudo-random sequence (the constants of the C standard's example rand).
class Sequence {
public:
    int Next(int limit)
    {
        state_ = state_ * 1103515245ul + 12345ul;
        return (int)((state_ / 65536ul) % 32768ul) % limit;
    }

private:
    unsigned long state_ = 20261210ul;
};

inline ChartSet MakeChartSet()
{
    static const char kSymbols[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    Sequence random;
    // Names of 4 to 8 letters and digits, beginning with a letter, all different.
    std::set<std::string> seen;
    std::vector<std::string> names;
    while ((int)names.size() < kCharts + (kCharts - kShared)) {
        int length = 4 + random.Next(5);
        std::string name(1, kSymbols[random.Next(26)]);
        while ((int)name.size() < length) {
            name += kSymbols[random.Next(36)];
        }
        if (seen.insert(name).second) {
            names.push_back(name);
        }
    }
    // Days 1-28 of 2000 to 2024 and minutes 1-58: a minute earlier or later stays on
    // the same day.
    auto time = [&random]() {
        return ChartTime{2000 + random.Next(25), 1 + random.Next(12), 1 + random.Next(28),
                         random.Next(24), 1 + random.Next(58)};
    };
    ChartSet set;
    auto add = [&set](std::vector<Chart> &side, const std::string &name, const ChartTime &at) {
        side.push_back({name + ".mas", at});
        set.keptByFilter += at.year >= kSinceYear ? 1 : 0;
    };
    for (int i = 0; i < kCharts; i++) {
        ChartTime at = time();
        add(set.source, names[i], at);
        if (i >= kShared) {
            ++set.selectedByCompare;  // the destination lacks it
            set.compareSelects.insert(names[i] + ".mas");
            continue;
        }
        ChartTime other = at;
        other.minute += i % 3 == 0 ? -1 : i % 3 == 1 ? 0 : 1;
        if (i % 3 == 0) {
            ++set.selectedByCompare;
            set.compareSelects.insert(names[i] + ".mas");
        }
        add(set.destination, names[i], other);
    }
    for (size_t i = kCharts; i < names.size(); i++) {
        add(set.destination, names[i], time());
    }
    return set;
}

// The update case's destination: the first kUpdateKept source charts, each a minute
// older (minutes are 1-58, so it stays in the same hour). Compare selects every source
// chart: the ones here because the source's is newer, the others because they are
// missing.
inline std::vector<Chart> UpdateDestination(const ChartSet &set)
{
    std::vector<Chart> older(set.source.begin(), set.source.begin() + kUpdateKept);
    for (Chart &chart : older) {
        chart.time.minute -= 1;
    }
    return older;
}

// The bytes of a chart: its file name, then letters that follow from the name, to size.
inline std::string ChartContent(const std::string &file, int size)
{
    std::string bytes = file + "\r\n";
    unsigned value = 0;
    for (char c : file) {
        value = value * 31u + (unsigned char)c;
    }
    while ((int)bytes.size() < size) {
        value = value * 1103515245u + 12345u;
        bytes += (char)('a' + (value >> 16) % 26);
    }
    bytes.resize((size_t)size);
    return bytes;
}

}  // namespace bench

#endif
