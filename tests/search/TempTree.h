#pragma once

#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

// A real folder tree in a fresh temporary folder, removed with everything in it at the end.
class TempTree {
public:
    TempTree() {
        char pattern[] = "/tmp/shufflon-search-XXXXXX";
        if (!mkdtemp(pattern))
            throw std::runtime_error("mkdtemp failed");
        m_root = pattern;
    }
    ~TempTree() {
        // rm copes with folders deeper than PATH_MAX; chmod first in case a test took rights away.
        std::string command = "chmod -R u+rwx '" + m_root + "' 2>/dev/null; rm -rf '" + m_root + "'";
        [[maybe_unused]] int status = std::system(command.c_str());
    }
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    const std::string& Root() const { return m_root; }
    std::string Path(const std::string& relative) const { return m_root + "/" + relative; }

    // Makes a folder and its parents; returns its path.
    std::string Dir(const std::string& relative) const {
        std::filesystem::create_directories(Path(relative));
        return Path(relative);
    }

    // Makes a file of `size` bytes (sparse, so sizes past 4 GiB cost nothing); returns its path.
    std::string File(const std::string& relative, std::uint64_t size = 0) const {
        std::filesystem::path path(Path(relative));
        std::filesystem::create_directories(path.parent_path());
        int fd = open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
        if (fd < 0)
            throw std::runtime_error("cannot create " + path.string());
        bool sized = ftruncate(fd, static_cast<off_t>(size)) == 0;
        close(fd);
        if (!sized)
            throw std::runtime_error("cannot size " + path.string());
        return path.string();
    }

    void Link(const std::string& relative, const std::string& target) const {
        std::filesystem::create_symlink(target, Path(relative));
    }

private:
    std::string m_root;
};
