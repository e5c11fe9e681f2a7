// slideshow-pack: makes a viewer executable from a folder of pictures or a catalogue, and
// shows or unpacks what such a file carries.
#include <malloc.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/pack/CatalogueJson.h"
#include "tools/pack/CollectionPacker.h"
#include "tools/pack/CsvCatalogue.h"
#include "tools/pack/FolderSource.h"
#include "tools/pack/PackCommands.h"
#include "tools/pack/PictureFile.h"
#include "tools/pack/PictureTransform.h"
#include "tools/pack/TerminalText.h"
#include "tools/pack/ViewerTemplate.h"

namespace {
const int EXIT_FAILED = 1;
const int EXIT_USAGE = 2;

void PrintHelp() {
    std::printf(
        "Usage:\n"
        "  slideshow-pack build SOURCE -o OUTPUT [--viewer PATH | --target windows]\n"
        "  slideshow-pack inspect FILE [--json]\n"
        "  slideshow-pack extract FILE DIR [--force]\n"
        "\n"
        "build    writes a copy of the viewer with the collection appended. SOURCE is\n"
        "         - a folder: every JPEG and PNG in name order, named after its file, with an\n"
        "           optional collection.json for the collection's fields and per-picture details;\n"
        "         - a JSON catalogue (.json), the form extract writes;\n"
        "         - a CSV file (.csv) with a header row: name, line1, line2, picture, and any\n"
        "           other column as a detail.\n"
        "         Pictures are stored as the viewer reads them, upside down, after their EXIF\n"
        "         orientation: JPEGs are turned without loss where their size fits the JPEG\n"
        "         block grid, otherwise compressed again at quality %d; PNGs are converted\n"
        "         to JPEG at quality %d.\n"
        "         Items without a picture get a placeholder image (built in, or a PNG or BMP).\n"
        "         OUTPUT is written completely or not at all.\n"
        "inspect  shows the header, the items, their texts, details and pictures.\n"
        "extract  writes the collection to DIR as catalogue.json with its pictures;\n"
        "         build of that catalogue gives the same collection again. DIR must be new\n"
        "         or empty unless --force is given; no file in it is ever replaced.\n"
        "\n"
        "Options:\n"
        "  -o, --output OUTPUT  the viewer file to write\n"
        "  --viewer PATH        the viewer to copy (default: the one installed or built with\n"
        "                       this tool); a Windows viewer (slideshow.exe) makes OUTPUT.exe\n"
        "  --target TARGET      linux (the default) or windows: the installed viewer for it\n"
        "  --json               inspect prints JSON\n"
        "  --force              extract into a folder that already holds files\n"
        "  -h, --help           this text\n"
        "  --version            the version\n"
        "\n"
        "Exit status: 0 done, 1 failed (the message names the file and item), 2 usage.\n",
        CPictureTransform::REENCODE_QUALITY, CPictureFile::PNG_JPEG_QUALITY);
}

int Usage(const std::string& message) {
    std::fprintf(stderr, "slideshow-pack: %s\nTry 'slideshow-pack --help'.\n",
                 CTerminalText::Escape(message).c_str());
    return EXIT_USAGE;
}

bool EndsWith(std::string s, const char* suffix) {
    for (char& c : s)
        c = (char)std::tolower((unsigned char)c);
    const size_t n = std::strlen(suffix);
    return s.size() >= n && s.compare(s.size() - n, n, suffix) == 0;
}

PACK_CATALOGUE LoadSource(const std::string& source) {
    std::error_code ec;
    if (std::filesystem::is_directory(source, ec))
        return CFolderSource::Load(source);
    if (!std::filesystem::exists(source, ec))
        throw CPackError(source + ": no such file or folder");
    if (EndsWith(source, ".json"))
        return CCatalogueJson::Load(source);
    if (EndsWith(source, ".csv"))
        return CCsvCatalogue::Load(source);
    throw CPackError(source + ": give a folder, a .json catalogue or a .csv file");
}

bool HasExeExtension(const std::string& path) {
    if (path.size() < 4)
        return false;
    std::string ext = path.substr(path.size() - 4);
    for (char& c : ext)
        c = (char)std::tolower((unsigned char)c);
    return ext == ".exe";
}

int Build(const std::vector<std::string>& args) {
    std::string source, output, viewer, target = "linux";
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if ((a == "-o" || a == "--output" || a == "--viewer" || a == "--target") && i + 1 >= args.size())
            return Usage(a + " needs a value");
        if (a == "-o" || a == "--output")
            output = args[++i];
        else if (a == "--viewer")
            viewer = args[++i];
        else if (a == "--target")
            target = args[++i];
        else if (a.size() > 1 && a[0] == '-')
            return Usage("unknown option " + a);
        else if (source.empty())
            source = a;
        else
            return Usage("more than one SOURCE: " + a);
    }
    if (source.empty())
        return Usage("build needs a SOURCE");
    if (output.empty())
        return Usage("build needs -o OUTPUT");
    if (target != "linux" && target != "windows")
        return Usage("unknown --target " + target + " (linux or windows)");
    if (viewer.empty())
        viewer = FindViewerTemplate(target == "windows" ? "slideshow.exe" : "slideshow");
    if (viewer.empty())
        throw CPackError("no slideshow viewer for " + target +
                         " found beside slideshow-pack; give one with --viewer PATH");
    CheckViewerTemplate(viewer);
    // Windows runs a program only by its extension.
    if (IsWindowsViewer(viewer) && !HasExeExtension(output))
        output += ".exe";
    const PACK_CATALOGUE catalogue = LoadSource(source);
    for (const std::string& skipped : catalogue.skipped)
        std::fprintf(stderr, "slideshow-pack: skipped %s\n",
                     CTerminalText::Escape(skipped).c_str());
    const PACK_SUMMARY summary = CCollectionPacker(catalogue).Pack(viewer, output, true);
    for (const std::string& warning : summary.warnings)
        std::fprintf(stderr, "slideshow-pack: warning: %s\n", warning.c_str());
    std::printf("%s: %zu %s with %zu %s", output.c_str(), catalogue.items.size(),
                catalogue.items.size() == 1 ? "item" : "items", summary.nPictures,
                summary.nPictures == 1 ? "picture" : "pictures");
    if (summary.nReencoded == 0)
        std::printf(", all stored without loss\n");
    else
        std::printf(", %zu of them re-encoded at quality %d (a size off the JPEG block grid, or "
                    "an unusual chroma sampling, cannot be turned without loss)\n",
                    summary.nReencoded, CPictureTransform::REENCODE_QUALITY);
    return 0;
}

int Run(const std::vector<std::string>& args) {
    if (args.empty())
        return Usage("no command");
    const std::string& command = args[0];
    if (command == "-h" || command == "--help" || command == "help") {
        PrintHelp();
        return 0;
    }
    if (command == "--version") {
        std::printf("slideshow-pack %s\n", SLIDESHOW_VERSION);
        return 0;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    for (const std::string& a : rest)
        if (a == "-h" || a == "--help") {
            PrintHelp();
            return 0;
        }
    if (command == "build")
        return Build(rest);
    if (command == "inspect") {
        bool bJson = false;
        std::string file;
        for (const std::string& a : rest) {
            if (a == "--json")
                bJson = true;
            else if (a.size() > 1 && a[0] == '-')
                return Usage("unknown option " + a);
            else if (file.empty())
                file = a;
            else
                return Usage("inspect takes one FILE");
        }
        if (file.empty())
            return Usage("inspect needs a FILE");
        return CPackCommands::Inspect(file, bJson);
    }
    if (command == "extract") {
        bool bForce = false;
        std::vector<std::string> operands;
        for (const std::string& a : rest) {
            if (a == "--force")
                bForce = true;
            else if (a.size() > 1 && a[0] == '-')
                return Usage("unknown option " + a);
            else
                operands.push_back(a);
        }
        if (operands.size() != 2)
            return Usage("extract needs FILE and DIR");
        return CPackCommands::Extract(operands[0], operands[1], bForce);
    }
    return Usage("unknown command " + command);
}
} // namespace

int main(int argc, char** argv) {
    // Every picture needs buffers of the same few megabytes: keep them for the next picture
    // instead of handing them back to the system and faulting fresh pages in each time.
    mallopt(M_MMAP_THRESHOLD, 256 << 20);
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
    try {
        return Run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& e) {
        // Messages quote names from the collection and from file names.
        std::fprintf(stderr, "slideshow-pack: %s\n", CTerminalText::Escape(e.what()).c_str());
        return EXIT_FAILED;
    }
}
