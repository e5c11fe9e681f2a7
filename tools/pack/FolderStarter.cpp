#include "tools/pack/FolderStarter.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "tools/pack/FolderSource.h"

namespace {
std::string Today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[64];
    std::strftime(text, sizeof text, "%d %B %Y", &local);
    return text;
}
} // namespace

size_t CFolderStarter::Write(const std::string& folder) {
    std::vector<std::string> skipped;
    const std::vector<std::string> pictures =
        CFolderSource::ListPictures(folder, FOLDER_OPTIONS(), skipped);
    if (pictures.empty())
        throw CPackError(folder + ": no JPEG or PNG pictures in the folder");
    nlohmann::ordered_json j = nlohmann::ordered_json::object();
    j["title"] = std::filesystem::absolute(folder).lexically_normal().filename().string();
    if (j["title"] == "")
        j["title"] = std::filesystem::absolute(folder).parent_path().filename().string();
    j["created_by"] = "";
    j["date_created"] = Today();
    j["comments"] = "";
    nlohmann::ordered_json listed = nlohmann::ordered_json::object();
    for (const std::string& picture : pictures)
        listed[picture] = {{"name", CFolderSource::NameFromFile(picture).Str()},
                           {"line1", ""},
                           {"line2", ""},
                           {"details", nlohmann::ordered_json::array()}};
    j["pictures"] = listed;
    const std::string text = j.dump(2) + '\n';

    const std::string path = (std::filesystem::path(folder) / "collection.json").string();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EEXIST)
        throw CPackError(path + ": exists already; it is never replaced");
    if (fd < 0)
        throw CPackError(path + ": cannot create: " + std::strerror(errno));
    const bool bWritten = ::write(fd, text.data(), text.size()) == (ssize_t)text.size();
    const bool bClosed = ::close(fd) == 0;
    if (!bWritten || !bClosed) {
        ::unlink(path.c_str());
        throw CPackError(path + ": cannot write");
    }
    return pictures.size();
}
