// A desktop made of fake programs: a temporary PATH and data folder holding only the programs a
// test writes, each of which appends "name [arg] [arg]..." to a log.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

class FakeDesktop {
public:
    FakeDesktop() : m_savedPath(getenv("PATH")) {
        char pattern[] = "/tmp/linktestXXXXXX";
        m_dir = mkdtemp(pattern);
        mkdir((m_dir + "/applications").c_str(), 0700);
        setenv("PATH", m_dir.c_str(), 1);
        setenv("XDG_DATA_HOME", m_dir.c_str(), 1);
        setenv("XDG_DATA_DIRS", (m_dir + "/none").c_str(), 1);
        unsetenv("BROWSER");
    }
    ~FakeDesktop() {
        setenv("PATH", m_savedPath.c_str(), 1);
        EXPECT_EQ(system(("rm -rf '" + m_dir + "'").c_str()), 0);
    }
    // Exits with `status`; prints `output` first (what xdg-mime answers).
    std::string AddProgram(const std::string& name, int status, const std::string& output = "") {
        const std::string path = m_dir + "/" + name;
        std::ofstream script(path);
        script << "#!/bin/sh\n{ printf '%s' \"${0##*/}\"; for a in \"$@\"; do printf ' [%s]' "
               << "\"$a\"; done; printf '\\n'; } >> '" << m_dir << "/log'\n";
        if (!output.empty())
            script << "echo '" << output << "'\n";
        script << "exit " << status << "\n";
        script.close();
        chmod(path.c_str(), 0755);
        return path;
    }
    void AddDesktopEntry(const std::string& id, const std::string& exec) {
        std::ofstream(m_dir + "/applications/" + id) << "[Desktop Entry]\nExec=" << exec << "\n";
    }
    // The log once it has nLines lines: a browser is started without waiting for it.
    std::string Log(int nLines = 0) const {
        std::string log;
        for (int i = 0; i < 200; ++i, usleep(10 * 1000)) {
            std::stringstream s;
            s << std::ifstream(m_dir + "/log").rdbuf();
            log = s.str();
            if (std::count(log.begin(), log.end(), '\n') >= nLines)
                break;
        }
        return log;
    }
    const std::string& Dir() const { return m_dir; }

private:
    std::string m_savedPath;
    std::string m_dir;
};
