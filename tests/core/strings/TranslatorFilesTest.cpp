#include "core/strings/CsvFile.h"
#include "core/strings/PoFile.h"

#include <gtest/gtest.h>

using namespace pw;

TEST(PoFile, ReadsWhatTranslatorsToolsWrite) {
    const std::string text = "\xEF\xBB\xBF# translator's note\n"
                             "#\n" // an empty comment, as Poedit writes
                             "msgid \"\"\n"
                             "msgstr \"\"\n"
                             "\"Language: ru\\n\"\n"
                             "\"Content-Type: text/plain; charset=UTF-8\\n\"\n"
                             "\n"
                             "#. de: Hallo\n"
                             "#: stringtable.ini:6\n"
                             "#, fuzzy, c-format\n"
                             "#| msgid \"Hell\"\n"
                             "msgctxt \"A_01\"\n"
                             "msgid \"\"\n"
                             "\"Hello, \"\n"
                             "\"\\\"world\\\"\\\\n\"\n"
                             "msgstr \"Привет,\\n\\tмир\\101\\x42\\xcccccccccc43\"\n"
                             "msgctxt \"A_02\"\n" // no blank line before the next message
                             "msgid \"Apple\"\n"
                             "msgid_plural \"Apples\"\n"
                             "msgstr[0] \"Яблоко\"\n"
                             "msgstr[1] \"Яблока\"\n"
                             "\n"
                             "#~ msgctxt \"OLD\"\n"
                             "#~ msgid \"Gone\"\n"
                             "#~ msgstr \"Нет\"\n";
    std::string error;
    const std::optional<PoFile> po = ReadPo(text, &error);
    ASSERT_TRUE(po) << error;
    EXPECT_EQ(po->HeaderField("language"), "ru");
    ASSERT_EQ(po->messages.size(), 2u);
    const PoMessage& first = po->messages[0];
    EXPECT_EQ(first.context, "A_01");
    EXPECT_EQ(first.id, "Hello, \"world\"\\n");
    EXPECT_EQ(first.str, "Привет,\n\tмирABC");
    EXPECT_TRUE(first.Fuzzy());
    EXPECT_EQ(first.extractedComments, std::vector<std::string>{"de: Hallo"});
    EXPECT_EQ(first.references, std::vector<std::string>{"stringtable.ini:6"});
    EXPECT_EQ(first.line, 13u);
    EXPECT_EQ(po->messages[1].str, "Яблоко");
    EXPECT_FALSE(po->messages[1].Fuzzy());
}

TEST(PoFile, WhatItWritesItReadsBack) {
    PoFile po;
    po.header = {{"Language", "zh_TW"}, {"Content-Type", "text/plain; charset=UTF-8"}};
    PoMessage message;
    message.extractedComments = {"ru: Привет"};
    message.references = {"t.ini:3"};
    message.flags = {"fuzzy"};
    message.context = "ID \"1\"";
    message.id = "Tab\there, back\\slash, \\n, bell\a";
    message.str = "你好\r\n";
    po.messages.push_back(message);
    const std::string text = WritePo(po);
    EXPECT_NE(text.find("msgid \"Tab\\there, back\\\\slash, \\\\n, bell\\a\"\n"), std::string::npos) << text;
    const std::optional<PoFile> back = ReadPo(text, nullptr);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->header, po.header);
    ASSERT_EQ(back->messages.size(), 1u);
    EXPECT_EQ(back->messages[0].context, message.context);
    EXPECT_EQ(back->messages[0].id, message.id);
    EXPECT_EQ(back->messages[0].str, message.str);
    EXPECT_EQ(back->messages[0].flags, message.flags);
    EXPECT_EQ(back->messages[0].extractedComments, message.extractedComments);
}

TEST(PoFile, RefusesWhatIsNoPoFileInUtf8) {
    std::string error;
    EXPECT_FALSE(ReadPo("msgid \"a\nmsgstr \"b\"\n", &error));
    EXPECT_EQ(error, "PO-файл, строка 1: ожидалась строка в кавычках");
    EXPECT_FALSE(ReadPo("hello\n", &error));
    EXPECT_FALSE(ReadPo("msgstr \"x\"\n", &error));
    EXPECT_FALSE(ReadPo("msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=CP1251\\n\"\n", &error));
    EXPECT_EQ(error, "PO-файл в кодировке CP1251: читаются только файлы в UTF-8.");
    EXPECT_FALSE(ReadPo("msgid \"\\xCF\"\nmsgstr \"\"\n", &error));
}

TEST(CsvFile, QuotesWhatNeedsQuotesAndReadsItBack) {
    const CsvRow row = {"plain", "a,b", "say \"hi\"", "two\nlines", " padded", ""};
    const std::string line = CsvLine(row);
    EXPECT_EQ(line, "plain,\"a,b\",\"say \"\"hi\"\"\",\"two\nlines\",\" padded\",\r\n");
    std::string error;
    const auto rows = ReadCsv("\xEF\xBB\xBF" + CsvLine({"h1", "h2"}) + line + "x,y\n", &error);
    ASSERT_TRUE(rows) << error;
    ASSERT_EQ(rows->size(), 3u);
    EXPECT_EQ((*rows)[1], row);
    EXPECT_EQ((*rows)[2], (CsvRow{"x", "y"}));
    EXPECT_FALSE(ReadCsv("a,\"open\n", &error));
    EXPECT_EQ(error, "CSV-файл, строка 1: кавычка не закрыта");
    EXPECT_FALSE(ReadCsv("a,\"b\"c\n", &error));
}
