#pragma once
// A /proc, a /sys and a /dev of a machine made up for a test, in a temporary folder of its own.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <unistd.h>

class FakeMachine {
public:
    FakeMachine() {
        std::string pattern = (std::filesystem::temp_directory_path() / "martool-hw-XXXXXX").string();
        m_root = ::mkdtemp(pattern.data());
        std::filesystem::create_directories(m_root / "proc");
        std::filesystem::create_directories(m_root / "sys");
    }
    ~FakeMachine() {
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }
    FakeMachine(const FakeMachine&) = delete;
    FakeMachine& operator=(const FakeMachine&) = delete;

    std::string Proc() const { return (m_root / "proc").string(); }
    std::string Sys() const { return (m_root / "sys").string(); }
    std::string Path(const std::string& relative) const { return (m_root / relative).string(); }

    void Write(const std::string& relative, const std::string& text) const {
        std::filesystem::create_directories(std::filesystem::path(Path(relative)).parent_path());
        std::ofstream(Path(relative), std::ios::binary) << text;
    }
    void Folder(const std::string& relative) const { std::filesystem::create_directories(Path(relative)); }
    // A symbolic link at relative whose target is the folder at targetRelative, made as /sys does.
    void Link(const std::string& relative, const std::string& targetRelative) const {
        Folder(targetRelative);
        std::filesystem::create_directories(std::filesystem::path(Path(relative)).parent_path());
        std::filesystem::create_symlink(std::filesystem::relative(Path(targetRelative), std::filesystem::path(Path(relative)).parent_path()),
                           Path(relative));
    }
    // The files in which a USB device (the folder) names itself; a null part is left out.
    void UsbIdentity(const std::string& relative, const char* product, const char* maker, const char* serial) const {
        Write(relative + "/idVendor", "0403\n");
        const std::pair<const char*, const char*> parts[] = {
            {"product", product}, {"manufacturer", maker}, {"serial", serial}};
        for (const auto& [file, text] : parts) {
            if (text != nullptr)
                Write(relative + "/" + file, text);
        }
    }
    // A device folder with its driver and bus, as /sys/devices holds them.
    void Device(const std::string& relative, const std::string& bus, const std::string& driver) const {
        Link(relative + "/driver", "sys/bus/" + bus + "/drivers/" + driver);
        Link(relative + "/subsystem", "sys/bus/" + bus);
    }

private:
    std::filesystem::path m_root;
};

