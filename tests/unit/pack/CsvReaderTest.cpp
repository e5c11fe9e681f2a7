#include <gtest/gtest.h>

#include "tools/pack/CsvReader.h"
#include "tools/pack/PackCatalogue.h"

TEST(CsvReaderTest, SplitsRecordsAsSpreadsheetsWriteThem) {
    using Fields = std::vector<std::string>;
    struct Case {
        const char* text;
        std::vector<Fields> records;
        std::vector<int> lines;
    } cases[] = {
        {"a,b\r\nc,d\r\n", {{"a", "b"}, {"c", "d"}}, {1, 2}},
        {"a,b\nc,d", {{"a", "b"}, {"c", "d"}}, {1, 2}},
        {"\"x, y\",\"say \"\"hi\"\"\"\n", {{"x, y", "say \"hi\""}}, {1}},
        {"\"two\r\nlines\",z\nnext,1\n", {{"two\r\nlines", "z"}, {"next", "1"}}, {1, 3}},
        {",,\n", {{"", "", ""}}, {1}},
        {"\xEF\xBB\xBFname\n\nb\n", {{"name"}, {"b"}}, {1, 3}},
        {"\"\",x\n", {{"", "x"}}, {1}},
        {"caf\xC3\xA9,\"\xE6\x97\xA5\"\n", {{"caf\xC3\xA9", "\xE6\x97\xA5"}}, {1}},
    };
    for (const Case& c : cases) {
        const std::vector<CSV_RECORD> records = CCsvReader::Parse(c.text, "t.csv");
        ASSERT_EQ(records.size(), c.records.size()) << c.text;
        for (size_t i = 0; i < records.size(); ++i) {
            EXPECT_EQ(records[i].fields, c.records[i]) << c.text;
            EXPECT_EQ(records[i].nLine, c.lines[i]) << c.text;
        }
    }
}

TEST(CsvReaderTest, DamagedQuotingNamesTheLine) {
    struct Case {
        const char* text;
        const char* message;
    } cases[] = {
        {"a\nb,\"open\nstill open\n", "t.csv line 2: a quoted field is not closed"},
        {"a\n\"x\"y,z\n", "t.csv line 2: text after the closing quote"},
        {"a\nb\"c\n", "t.csv line 2: a quote inside a field"},
    };
    for (const Case& c : cases) {
        try {
            CCsvReader::Parse(c.text, "t.csv");
            ADD_FAILURE() << c.text;
        } catch (const CPackError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
}
