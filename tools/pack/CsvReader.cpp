#include "tools/pack/CsvReader.h"

#include "tools/pack/PackCatalogue.h"

namespace {
class CCsvParser {
public:
    CCsvParser(const std::string& text, const std::string& source)
        : m_text(text), m_source(source) {
        if (m_text.compare(0, 3, "\xEF\xBB\xBF") == 0)
            m_pos = 3;
    }

    std::vector<CSV_RECORD> Run() {
        std::vector<CSV_RECORD> records;
        while (m_pos < m_text.size()) {
            CSV_RECORD record{m_nLine, {}};
            bool bEnd = false;
            while (!bEnd) {
                record.fields.push_back(ReadField());
                bEnd = !AtComma();
            }
            EndRecord();
            // A blank line is no record: spreadsheets leave one at the end.
            if (!(record.fields.size() == 1 && record.fields[0].empty()))
                records.push_back(std::move(record));
        }
        return records;
    }

private:
    std::string ReadField() {
        if (m_pos < m_text.size() && m_text[m_pos] == '"')
            return ReadQuoted();
        std::string field;
        while (m_pos < m_text.size() && m_text[m_pos] != ',' && m_text[m_pos] != '\n' &&
               m_text[m_pos] != '\r') {
            if (m_text[m_pos] == '"')
                Fail("a quote inside a field that does not start with one");
            field += m_text[m_pos++];
        }
        return field;
    }

    std::string ReadQuoted() {
        const int nStart = m_nLine;
        std::string field;
        ++m_pos;
        for (;;) {
            if (m_pos >= m_text.size()) {
                m_nLine = nStart;
                Fail("a quoted field is not closed");
            }
            const char c = m_text[m_pos++];
            if (c == '"') {
                if (m_pos < m_text.size() && m_text[m_pos] == '"') {
                    field += '"';
                    ++m_pos;
                    continue;
                }
                if (m_pos < m_text.size() && m_text[m_pos] != ',' && m_text[m_pos] != '\r' &&
                    m_text[m_pos] != '\n')
                    Fail("text after the closing quote of a field");
                return field;
            }
            if (c == '\n')
                ++m_nLine;
            field += c;
        }
    }

    bool AtComma() {
        if (m_pos < m_text.size() && m_text[m_pos] == ',') {
            ++m_pos;
            return true;
        }
        return false;
    }

    void EndRecord() {
        if (m_pos < m_text.size() && m_text[m_pos] == '\r')
            ++m_pos;
        if (m_pos < m_text.size() && m_text[m_pos] == '\n')
            ++m_pos;
        ++m_nLine;
    }

    [[noreturn]] void Fail(const char* what) const {
        throw CPackError(m_source + " line " + std::to_string(m_nLine) + ": " + what);
    }

    const std::string& m_text;
    const std::string& m_source;
    size_t m_pos = 0;
    int m_nLine = 1;
};
} // namespace

std::vector<CSV_RECORD> CCsvReader::Parse(const std::string& text, const std::string& source) {
    return CCsvParser(text, source).Run();
}
