// The fixed table from port names to device nodes.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "platform/ports/DeviceDirectory.h"
#include "platform/files/FileApi.h"
#include "platform/ports/PortNameTable.h"

namespace {

using platform::PortNameTable;

// The en dash as a man page writes it.
std::string Groff(std::string text) {
    for (std::size_t at = text.find("\u2013"); at != std::string::npos; at = text.find("\u2013"))
        text.replace(at, 3, "\\(en");
    return text;
}

std::string Node(const char* name) {
    return platform::DeviceDirectory() + "/" + name;
}

TEST(PortNameTableTest, NamesOutsideTheTableHaveNoDevice) {
    EXPECT_EQ(PortNameTable::DevicePath("com12"), Node("ttyS11"));
    EXPECT_EQ(PortNameTable::DevicePath("/dev/pts/7"), "/dev/pts/7") << "a path stands as it is";
    for (const char* name :
         {"COM0", "COM255", "COM256", "COM01", "COM", "COM1a", "COM-1", "COM+1", "LPT1", "", "ttyS0"})
        EXPECT_EQ(PortNameTable::DevicePath(name), "") << name;
    EXPECT_TRUE(PortNameTable::IsLoopback("COM255"));
    EXPECT_TRUE(PortNameTable::IsLoopback("Com255"));
    EXPECT_FALSE(PortNameTable::IsLoopback("COM0255"));
}

// COM1 to COM254 each stand for exactly one node, and that node gives the name back: the ranges
// neither overlap nor leave a gap, and no family's prefix swallows another's nodes (ttyS and ttySC,
// ttyO and ttyS, ttyHS and ttyTHS).
TEST(PortNameTableTest, EveryNameUpToTheLoopbackPlugHasOneNodeThatGivesItBack) {
    const std::string prefix = platform::DeviceDirectory() + "/";
    std::set<std::string> nodes;
    for (int n = 1; n < PortNameTable::kLoopbackNumber; ++n) {
        const std::string name = "COM" + std::to_string(n);
        const std::string path = PortNameTable::DevicePath(name);
        ASSERT_TRUE(path.starts_with(prefix)) << name;
        const std::string node = path.substr(prefix.size());
        EXPECT_EQ(PortNameTable::PortNameOf(node), name) << node;
        EXPECT_TRUE(nodes.insert(node).second) << node;
    }
    const std::pair<const char*, const char*> fixed[] = {
        {"COM1", "ttyS0"},     {"COM33", "ttyUSB0"},  {"COM65", "ttyACM0"}, {"COM97", "ttyAMA0"},
        {"COM113", "rfcomm0"}, {"COM129", "ttymxc0"}, {"COM153", "ttyO0"},  {"COM161", "ttyTHS0"},
        {"COM169", "ttyHS0"},  {"COM195", "ttySC0"},  {"COM211", "ttyGS0"}, {"COM223", "ttyMXUSB0"},
        {"COM254", "ttyMI15"}};
    for (const auto& [name, node] : fixed)
        EXPECT_EQ(PortNameTable::DevicePath(name), prefix + node) << name;
    for (const char* node : {"ttymxc8", "ttySC8", "ttyGS4", "ttyMI16", "ttyO", "ttyTHS01", "ttyS32",
                             "ttyUSB32", "ttyAMA16", "ttyS01", "tty0", "ttyS", "pts/1"})
        EXPECT_EQ(PortNameTable::PortNameOf(node), "") << node;
}

// The README and the man page list the same table as the code.
TEST(PortNameTableTest, TheDocumentsListEveryRange) {
    for (const char* document : {MARTOOL_SOURCE_DIR "/README.md", MARTOOL_SOURCE_DIR "/docs/martool.1"}) {
        std::ifstream file(document);
        ASSERT_TRUE(file) << document;
        const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        for (const auto& range : PortNameTable::Ranges()) {
            const int last = range.first + range.count - 1;
            const std::string row = "COM" + std::to_string(range.first) + "\u2013COM" + std::to_string(last);
            const std::string nodes = std::string(range.node) + "0\u2013" + std::string(range.node) +
                                      std::to_string(range.count - 1);
            const bool listed =
                text.find(row) != std::string::npos || text.find(Groff(row)) != std::string::npos;
            EXPECT_TRUE(listed) << document << ": " << row;
            EXPECT_TRUE(text.find(nodes) != std::string::npos || text.find(Groff(nodes)) != std::string::npos)
                << document << ": " << nodes;
        }
    }
}

// Port names with no node in the (empty) device directory, and a path that is no tty.
TEST(PortNameTableTest, PortWithoutATtyIsNotFound) {
    for (const char* path :
         {"\\\\.\\COM1", "\\\\.\\COM40", "\\\\.\\COM200", "\\\\.\\NOSUCH", "\\\\.\\/dev/null"}) {
        HANDLE h = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_EQ(h, INVALID_HANDLE_VALUE) << path;
        EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND) << path;
    }
}

} // namespace
