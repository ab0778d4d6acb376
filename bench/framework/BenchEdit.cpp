// Cost per byte inserted through the edit control's own character handling (DefaultChar), as the
// terminal does for every received byte, with 0, 10 MB and 100 MB of text before it and inside a
// 1 MB line; the ratios to the empty case should stay near 1. Then the resident memory that 100 MB
// of text takes, per character (at most 2), and what a paint of the window costs, in a text of short
// lines and at the end of long ones.
//
// Times are CPU time of the benchmark's thread.
//
// Usage: bench_edit [runs] [case]   (medians over runs, 7 by default; with a case number 1-6, only
// that insertion case, e.g. to count its instructions under valgrind --tool=callgrind; with "paint",
// only the paints)

#include <QApplication>
#include <QImage>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "framework/edit/EditView.h"
#include "framework/base/RepaintScheduler.h"
#include "framework/text/TextBuffer.h"

using framework::EditView;
using framework::RepaintScheduler;

namespace {

constexpr std::size_t kLine = 80;        // bytes per line of the existing text, CR LF included
constexpr std::size_t kTyped = 2u << 20; // bytes inserted per run
constexpr std::size_t kMB = 1u << 20;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// CPU time of this thread: on a machine shared with other work, wall time measures the neighbours.
double Now() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

std::size_t ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0;
    std::size_t resident = 0;
    statm >> pages >> resident;
    return resident * 4096;
}

// Fills the view with size bytes of 80-byte lines, or with one line when lines is false.
void Fill(EditView& view, std::size_t size, bool lines) {
    std::string chunk;
    while (chunk.size() < kMB) {
        const char c = static_cast<char>('a' + chunk.size() / kLine % 26);
        chunk += lines ? std::string(kLine - 2, c) + "\r\n" : std::string(kLine, c);
    }
    view.SetText(nullptr, 0);
    for (std::size_t done = 0; done < size; done += chunk.size())
        view.ReplaceSel(chunk.data(), std::min(chunk.size(), size - done));
}

// Inserts kTyped bytes at pos (a line break every 80 when breaks is set), timed, then takes them out
// again so that the next run starts from the same text. Returns ns per byte.
double TypeAt(EditView& view, std::size_t pos, bool breaks) {
    view.SetSel(pos, pos);
    const double start = Now();
    for (std::size_t i = 1; i <= kTyped; ++i)
        view.DefaultChar(breaks && i % kLine == 0 ? 13 : static_cast<unsigned char>('A' + i % 26));
    const double seconds = Now() - start;
    std::size_t end = 0;
    std::size_t unused = 0;
    view.GetSel(end, unused);
    view.SetSel(pos, end);
    view.ReplaceSel(nullptr, 0);
    return seconds * 1e9 / static_cast<double>(kTyped);
}

double PaintMicroseconds(EditView& view, int runs) {
    QImage image(view.viewport()->size(), QImage::Format_RGB32);
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double start = Now();
        view.viewport()->render(&image);
        times.push_back((Now() - start) * 1e6);
    }
    return Median(times);
}

struct Case {
    const char* name;
    std::size_t size;
    bool lines;  // existing text in lines, or one long line
    bool middle; // insert in the middle rather than at the end
    bool breaks; // the inserted bytes carry line breaks
};

constexpr Case kCases[] = {
    {"empty text, at the end", 0, true, false, true},
    {"10 MB text, at the end", 10 * kMB, true, false, true},
    {"100 MB text, at the end", 100 * kMB, true, false, true},
    {"100 MB text, in the middle", 100 * kMB, true, true, true},
    {"1 MB line, at its end", kMB, false, false, false},
    {"1 MB line, in its middle", kMB, false, true, false},
};

// Resident memory taken by 100 MB of text typed in through DefaultChar.
void MeasureMemory(EditView& view) {
    const std::size_t before = ResidentBytes();
    for (std::size_t i = 1; i <= 100 * kMB; ++i)
        view.DefaultChar(i % kLine == 0 ? 13 : static_cast<unsigned char>('a' + i % 26));
    const std::size_t after = ResidentBytes();
    const auto length = static_cast<double>(view.TextLength());
    std::printf("memory at %zu characters: resident growth %.1f MB, %.3f bytes/character (target <= 2), "
                "reserved by text and index %.3f bytes/character\n",
                view.TextLength(), static_cast<double>(after - before) / kMB,
                static_cast<double>(after - before) / length,
                static_cast<double>(view.Buffer().MemoryBytes()) / length);
}

// Each case, or only the one numbered only (1-based; for counting instructions under a profiler).
void MeasureInsertion(EditView& view, int runs, std::size_t only) {
    std::printf("\ninsertion cost should be flat: each ratio to the empty text near 1\n");
    std::printf("%-30s %12s %10s %12s\n", "insertion through DefaultChar", "ns/byte", "ratio", "fastest run");
    double baseline = 0;
    for (std::size_t i = 0; i < std::size(kCases); ++i) {
        const Case& c = kCases[i];
        if (only != 0 && only != i + 1)
            continue;
        Fill(view, c.size, c.lines);
        const std::size_t pos = c.middle ? c.size / 2 : c.size;
        std::vector<double> samples;
        for (int run = 0; run < runs; ++run)
            samples.push_back(TypeAt(view, pos, c.breaks));
        const double median = Median(samples);
        if (baseline == 0)
            baseline = median;
        std::printf("%-30s %12.1f %10.2f %12.1f\n", c.name, median, median / baseline,
                    *std::min_element(samples.begin(), samples.end()));
    }
}

// Paints of the window at the end of a very long line: as they are, and each after a byte received
// there (as while text streams in), so that what a paint may keep from the last one is tested too.
void MeasureLongLinePaint(EditView& view, int runs) {
    const std::size_t size = 100 * kMB;
    Fill(view, size, false);
    view.SetSel(size, size);
    const double still = PaintMicroseconds(view, runs);
    QImage image(view.viewport()->size(), QImage::Format_RGB32);
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        view.DefaultChar('x');
        const double start = Now();
        view.viewport()->render(&image);
        times.push_back((Now() - start) * 1e6);
    }
    std::printf("paint of the window at the end of a 100 MB line: %.0f us, after a byte received there: "
                "%.0f us\n",
                still, Median(times));
}

void MeasurePaint(EditView& view, int runs) {
    MeasureLongLinePaint(view, runs);
    Fill(view, kMB, false);
    view.SetSel(kMB, kMB);
    const double longLine = PaintMicroseconds(view, runs);
    Fill(view, 100 * kMB, true);
    view.SetSel(100 * kMB, 100 * kMB);
    const double large = PaintMicroseconds(view, runs);
    Fill(view, 100 * kLine, true);
    view.SetSel(100 * kLine, 100 * kLine);
    const double small = PaintMicroseconds(view, runs);
    std::printf(
        "\npaint of a full window (%zu lines of %zu bytes): %.0f us with 100 lines of text, %.0f us with "
        "100 MB (ratio %.2f)\n",
        view.VisibleLines(), kLine, small, large, large / small);
    std::printf("paint of the window showing the end of a 1 MB line: %.0f us\n", longLine);
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const bool paintOnly = argc > 2 && std::strcmp(argv[2], "paint") == 0;
    const std::size_t only =
        argc > 2 && !paintOnly ? static_cast<std::size_t>(std::max(0, std::atoi(argv[2]))) : 0;
    RepaintScheduler scheduler; // never runs its frames here: the cost measured is the edit's own
    EditView view(nullptr, &scheduler);
    view.resize(800, 600);
    view.show();
    if (only == 0 && !paintOnly)
        MeasureMemory(view); // first, before anything else has been allocated and freed
    if (!paintOnly)
        MeasureInsertion(view, runs, only);
    if (only == 0)
        MeasurePaint(view, runs);
    return 0;
}
