// Reads CSV as spreadsheets export it (RFC 4180): fields separated by commas, records by line
// breaks (CRLF or LF), fields in double quotes may hold commas, line breaks and doubled quotes.
#pragma once

#include <string>
#include <vector>

struct CSV_RECORD {
    int nLine; // line on which the record starts, from 1
    std::vector<std::string> fields;
};

class CCsvReader {
public:
    // Splits the whole text into records; a UTF-8 byte-order mark at the start is skipped.
    // Throws CPackError naming `source` and the line for a quote left open or text after a
    // closing quote.
    static std::vector<CSV_RECORD> Parse(const std::string& text, const std::string& source);
};
