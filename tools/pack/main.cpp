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

#include "tools/pack/BuildSummary.h"
#include "tools/pack/CatalogueJson.h"
#include "tools/pack/CollectionPacker.h"
#include "tools/pack/CsvCatalogue.h"
#include "tools/pack/FolderSource.h"
#include "tools/pack/FolderStarter.h"
#include "tools/pack/PackCommands.h"
#include "tools/pack/PictureFile.h"
#include "tools/pack/PictureTransform.h"
#include "tools/pack/SourceFile.h"
#include "tools/pack/TerminalText.h"
#include "tools/pack/ViewerTemplate.h"

namespace {
const int EXIT_FAILED = 1;
const int EXIT_USAGE = 2;

void PrintHelp() {
    std::printf(
        "Usage:\n"
        "  slideshow-pack build SOURCE -o OUTPUT [--viewer PATH | --target windows]\n"
        "                       [--strict] [--recursive]\n"
        "                       [--sort natural|name|date] [--title TEXT] [--creator TEXT]\n"
        "                       [--date TEXT] [--comments FILE] [--background COLOUR]\n"
        "                       [--max-size PIXELS [--quality Q]]\n"
        "  slideshow-pack init FOLDER\n"
        "  slideshow-pack inspect FILE [--json]\n"
        "  slideshow-pack extract FILE DIR [--force]\n"
        "\n"
        "build    writes a copy of the viewer with the collection appended. SOURCE is\n"
        "         - a folder: every JPEG and PNG in natural order (IMG_2 before IMG_10), named\n"
        "           after its file with \"_\" and \"-\" as spaces, with an optional\n"
        "           collection.json for the collection's fields and per-picture details.\n"
        "           A picture that cannot be stored is skipped with a warning and the build\n"
        "           goes on; hidden files are ignored, subfolders skipped unless --recursive;\n"
        "         - a JSON catalogue (.json), the form extract writes;\n"
        "         - a CSV file (.csv) with a header row: name, line1, line2, picture, and any\n"
        "           other column as a detail.\n"
        "         Pictures are stored as the viewer reads them, upside down, after their EXIF\n"
        "         orientation: JPEGs are turned without loss where their size fits the JPEG\n"
        "         block grid, otherwise compressed again at quality %d; PNGs are converted\n"
        "         to JPEG at quality %d, their transparent parts laid on the viewer's black\n"
        "         (--background COLOUR for another: #RRGGBB, white, grey).\n"
        "         --max-size makes pictures longer than PIXELS on their long side fit them,\n"
        "         compressed again at --quality (default 90), for a smaller file to send.\n"
        "         Items without a picture get a placeholder image (built in, or a PNG or BMP).\n"
        "         OUTPUT is written completely or not at all.\n"
        "         --title, --creator, --date and --comments set the collection's texts that\n"
        "         the Comments page shows, over any the source gives.\n"
        "init     writes FOLDER/collection.json listing the folder's pictures, to fill in.\n"
        "inspect  shows the version text, the collection's texts, the items, their texts,\n"
        "         details and pictures.\n"
        "extract  writes the collection to DIR as catalogue.json with its pictures;\n"
        "         build of that catalogue gives the same collection again. DIR must be new\n"
        "         or empty unless --force is given; no file in it is ever replaced.\n"
        "\n"
        "Options:\n"
        "  -o, --output OUTPUT  the viewer file to write\n"
        "  --viewer PATH        the viewer to copy (default: the one installed or built with\n"
        "                       this tool); a Windows viewer (slideshow.exe) makes OUTPUT.exe\n"
        "  --target TARGET      linux (the default) or windows: the installed viewer for it\n"
        "  --strict             a folder's broken picture ends the build (catalogues always do)\n"
        "  --recursive          take the pictures of a folder's subfolders too\n"
        "  --sort ORDER         a folder's order: natural (default), name (plain character\n"
        "                       order) or date (taken, from EXIF, else the file's time)\n"
        "  --title, --creator, --date TEXT, --comments FILE\n"
        "                       the collection's texts, over any the source gives\n"
        "  --background COLOUR  under a PNG's transparent parts (default black)\n"
        "  --max-size PIXELS    make longer pictures fit; --quality Q (default 90)\n"
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

PACK_CATALOGUE LoadSource(const std::string& source, const FOLDER_OPTIONS& folderOptions) {
    std::error_code ec;
    if (std::filesystem::is_directory(source, ec))
        return CFolderSource::Load(source, folderOptions);
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

bool IsCollectionText(const std::string& option) {
    return option == "--title" || option == "--creator" || option == "--date" ||
           option == "--comments";
}

bool TakesValue(const std::string& option) {
    return option == "-o" || option == "--output" || option == "--viewer" || option == "--target" ||
           option == "--sort" || option == "--background" || option == "--max-size" ||
           option == "--quality" || IsCollectionText(option);
}

// The options win over the source's own collection fields.
void SetCollectionText(PACK_CATALOGUE& catalogue, const std::string& option,
                       const std::string& value) {
    if (option == "--title")
        catalogue.strTitle = value;
    else if (option == "--creator")
        catalogue.strCreatedBy = value;
    else if (option == "--date")
        catalogue.strDateCreated = value;
    else
        catalogue.strComments = CSourceFile::ReadAll(value);
    // The first item's own fields would hide the collection's.
    if (!catalogue.items.empty()) {
        PACK_ITEM& first = catalogue.items[0];
        CString& own = option == "--title"     ? first.m_strCollectionTitle
                       : option == "--creator" ? first.m_strCreatedBy
                       : option == "--date"    ? first.m_strDateCreated
                                               : first.m_strComments;
        own = CString();
    }
}

// --max-size N (at least 1) or --quality Q (1 to 100) into `options`; FALSE for anything else.
bool ParseNumber(const std::string& option, const std::string& value, PICTURE_OPTIONS& options) {
    if (value.empty() || value.size() > 6 ||
        value.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const int n = std::stoi(value);
    if (option == "--max-size" && n >= 1)
        return options.nMaxSize = n, true;
    if (option == "--quality" && n >= 1 && n <= 100)
        return options.nQuality = n, true;
    return false;
}

int Build(const std::vector<std::string>& args) {
    std::string source, output, viewer, target = "linux";
    FOLDER_OPTIONS folderOptions;
    bool bStrict = false;
    PICTURE_OPTIONS pictureOptions;
    std::vector<std::pair<std::string, std::string>> collectionTexts;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (TakesValue(a) && i + 1 >= args.size())
            return Usage(a + " needs a value");
        if (IsCollectionText(a))
            collectionTexts.emplace_back(a, args[++i]);
        else if (a == "-o" || a == "--output")
            output = args[++i];
        else if (a == "--viewer")
            viewer = args[++i];
        else if (a == "--target")
            target = args[++i];
        else if (a == "--background" &&
                 !CPictureFile::ParseColour(args[++i], pictureOptions.background))
            return Usage("--background takes a colour such as #RRGGBB or white, not " + args[i]);
        else if (a == "--background")
            continue;
        else if ((a == "--max-size" || a == "--quality") &&
                 !ParseNumber(a, args[++i], pictureOptions))
            return Usage(a == "--max-size"
                             ? "--max-size takes a number of pixels, not " + args[i]
                             : "--quality takes a number from 1 to 100, not " + args[i]);
        else if (a == "--max-size" || a == "--quality")
            continue;
        else if (a == "--strict")
            bStrict = true;
        else if (a == "--recursive")
            folderOptions.bRecursive = true;
        else if (a == "--sort" && !CFolderSource::ParseOrder(args[++i], folderOptions.order))
            return Usage("--sort takes name, natural or date, not " + args[i]);
        else if (a == "--sort")
            continue;
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
    PACK_CATALOGUE catalogue = LoadSource(source, folderOptions);
    for (const auto& [option, value] : collectionTexts)
        SetCollectionText(catalogue, option, value);
    for (const std::string& skipped : catalogue.skipped)
        std::fprintf(stderr, "slideshow-pack: skipped %s\n",
                     CTerminalText::Escape(skipped).c_str());
    // A folder is taken as it is found; a catalogue names each file on purpose.
    const bool bSkipBroken = !bStrict && std::filesystem::is_directory(source);
    PACK_SUMMARY summary =
        CCollectionPacker(catalogue, bSkipBroken, pictureOptions).Pack(viewer, output, true);
    for (const std::string& warning : summary.warnings)
        std::fprintf(stderr, "slideshow-pack: warning: %s\n", warning.c_str());
    summary.skipped.insert(summary.skipped.begin(), catalogue.skipped.begin(),
                           catalogue.skipped.end());
    std::printf("%s", CBuildSummary::Format(output, summary).c_str());
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
    if (command == "init") {
        if (rest.size() != 1 || (rest[0].size() > 1 && rest[0][0] == '-'))
            return Usage("init takes one FOLDER");
        const size_t nPictures = CFolderStarter::Write(rest[0]);
        std::printf(
            "%s: lists %zu %s; fill in its texts, then: slideshow-pack build %s -o FILE\n",
            CTerminalText::Escape((std::filesystem::path(rest[0]) / "collection.json").string())
                .c_str(),
            nPictures, nPictures == 1 ? "picture" : "pictures",
            CTerminalText::Escape(rest[0]).c_str());
        return 0;
    }
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
