#include "tools/pack/BuildSummary.h"

#include <cstdio>

#include "tools/pack/PictureTransform.h"
#include "tools/pack/TerminalText.h"

namespace {
std::string Count(size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}
} // namespace

std::string CBuildSummary::Size(ULONGLONG nBytes) {
    char text[32];
    if (nBytes < 1024)
        std::snprintf(text, sizeof text, "%llu bytes", (unsigned long long)nBytes);
    else if (nBytes < (1ull << 20))
        std::snprintf(text, sizeof text, "%.1f KiB", (double)nBytes / 1024);
    else
        std::snprintf(text, sizeof text, "%.1f MiB", (double)nBytes / (1 << 20));
    return text;
}

std::string CBuildSummary::Format(const std::string& output, const PACK_SUMMARY& summary) {
    std::string text =
        CTerminalText::Escape(output) + ": " + Count(summary.nItems, "item", "items") + " with " +
        Count(summary.nPictures, "picture", "pictures") + ", " + Size(summary.nBytes) + "\n";
    if (summary.nReencoded == 0 && summary.nResized == 0)
        text += "  every picture stored without loss\n";
    if (summary.nReencoded > 0)
        text += "  " + Count(summary.nReencoded, "picture", "pictures") +
                " re-encoded at quality " + std::to_string(CPictureTransform::REENCODE_QUALITY) +
                " (a size off the JPEG block grid, or an unusual chroma sampling, cannot be "
                "turned without loss)\n";
    if (summary.nResized > 0)
        text += "  " + Count(summary.nResized, "picture", "pictures") + " made to fit " +
                std::to_string(summary.options.nMaxSize) + " pixels at quality " +
                std::to_string(summary.options.nQuality) + ", " +
                (summary.nBytesSaved >= 0 ? Size((ULONGLONG)summary.nBytesSaved) + " smaller"
                                          : Size((ULONGLONG)-summary.nBytesSaved) + " larger") +
                " than their files\n";
    if (!summary.skipped.empty()) {
        text += "  " + Count(summary.skipped.size(), "file", "files") + " skipped:\n";
        for (const std::string& skipped : summary.skipped)
            text += "    " + CTerminalText::Escape(skipped) + "\n";
    }
    return text;
}
