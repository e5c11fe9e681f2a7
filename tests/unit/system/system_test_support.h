// Scratch folders and environment changes that undo themselves, for tests that start programs.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

class ScratchFolder {
public:
    ScratchFolder() {
        char tmpl[] = "/tmp/slideshow-test-XXXXXX";
        m_path = mkdtemp(tmpl);
    }
    ~ScratchFolder() { std::system(("rm -rf '" + m_path + "'").c_str()); }
    const std::string& Path() const { return m_path; }
    std::string Write(const std::string& name, const std::string& text,
                      bool executable = false) const {
        std::string p = m_path + "/" + name;
        std::ofstream(p) << text;
        chmod(p.c_str(), executable ? 0755 : 0644);
        return p;
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(m_path + "/" + name);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    std::string m_path;
};

class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : m_name(name) {
        const char* old = getenv(name);
        m_had = old != nullptr;
        if (old)
            m_old = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (m_had)
            setenv(m_name.c_str(), m_old.c_str(), 1);
        else
            unsetenv(m_name.c_str());
    }

private:
    std::string m_name, m_old;
    bool m_had = false;
};
