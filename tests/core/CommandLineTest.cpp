#include <gtest/gtest.h>

#include <ostream>

#include "core/CommandLine.h"

namespace core::commandline {

// Readable failure messages for whole commands.
void PrintTo(const Command& c, std::ostream* os) {
    static const char* const kNames[] = {"Interactive", "Usage",         "EncryptFile",
                                         "DecryptFile", "EncryptString", "DecryptString"};
    *os << kNames[static_cast<int>(c.action)] << " source=" << testing::PrintToString(c.source)
        << " destination=" << testing::PrintToString(c.destination)
        << " text=" << testing::PrintToString(c.text)
        << " password=" << testing::PrintToString(c.password) << " ask=" << c.askPassword;
}

namespace {

Command Expect(Action action, std::u16string source, std::u16string destination,
               std::u16string text, std::u16string password, bool ask = false) {
    return Command{action,          std::move(source),   std::move(destination),
                   std::move(text), std::move(password), ask};
}

// --- The dispatch table, row by row ----------------------------------------

TEST(CommandLineDispatch, EncryptStringTakesTheLastFieldAsText) {
    EXPECT_EQ(Parse(u"Quillbox /encrypt /string /123 /This is a string encryption test."),
              Expect(Action::EncryptString, u"string", u"This is a string encryption test.",
                     u"This is a string encryption test.", u"123"));
}

TEST(CommandLineDispatch, StringWithoutLastFieldIsUnusable) {
    EXPECT_EQ(Parse(u"/encrypt/string/123").action, Action::Usage);
    EXPECT_EQ(Parse(u"/decrypt/string/123").action, Action::Usage);
    EXPECT_EQ(Parse(u"/decrypt /STRING / -ask ").action, Action::Usage);
}

TEST(CommandLineDispatch, EncryptFileWithDestination) {
    EXPECT_EQ(Parse(u"/encrypt/report.txt/123/report.bin"),
              Expect(Action::EncryptFile, u"report.txt", u"report.bin", u"", u"123"));
}

TEST(CommandLineDispatch, EncryptFileWithoutDestinationAppendsEnc) {
    EXPECT_EQ(Parse(u"/encrypt/c:\\a.txt/123"),
              Expect(Action::EncryptFile, u"c:\\a.txt", u"c:\\a.txt.enc", u"", u"123"));
    // The suffix is appended even when the source already carries it.
    EXPECT_EQ(Parse(u"/encrypt/a.enc/1").destination, u"a.enc.enc");
}

TEST(CommandLineDispatch, DecryptStringTakesTheLastFieldAsText) {
    EXPECT_EQ(
        Parse(u"/decrypt/string/123/AAAA+/==\r\nBBBB"),
        Expect(Action::DecryptString, u"string", u"AAAA+/==\r\nBBBB", u"AAAA+/==\r\nBBBB", u"123"));
}

TEST(CommandLineDispatch, DecryptFileWithDestination) {
    EXPECT_EQ(Parse(u"/decrypt/a.txt.enc/123/plain.txt"),
              Expect(Action::DecryptFile, u"a.txt.enc", u"plain.txt", u"", u"123"));
}

TEST(CommandLineDispatch, DecryptFileWithoutDestinationDropsLastFourCharacters) {
    EXPECT_EQ(Parse(u"/decrypt/c:\\a.txt.enc/123"),
              Expect(Action::DecryptFile, u"c:\\a.txt.enc", u"c:\\a.txt", u"", u"123"));
    // Whatever the four characters are.
    EXPECT_EQ(Parse(u"/decrypt/c:\\a.bin/123").destination, u"c:\\a");
    EXPECT_EQ(Parse(u"/decrypt/a.ENC/123").destination, u"a");
    EXPECT_EQ(Parse(u"/decrypt/README/123").destination, u"RE");
}

TEST(CommandLineDispatch, DecryptWithoutDestinationNeedsSomethingLeftOfTheSuffix) {
    // Dropping four characters would leave no file name: nothing may run.
    EXPECT_EQ(Parse(u"/decrypt/.enc/123").action, Action::Usage);
    EXPECT_EQ(Parse(u"/decrypt/abc/123").action, Action::Usage);
    EXPECT_EQ(Parse(u"/decrypt/ /123").action, Action::Usage);
    EXPECT_EQ(Parse(u"/decrypt/ x.enc /123").action, Action::DecryptFile);
    // With an explicit destination the short source is the action's business.
    EXPECT_EQ(Parse(u"/decrypt/abc/123/out").action, Action::DecryptFile);
}

TEST(CommandLineDispatch, UnknownOperationIsUnusable) {
    for (const char16_t* line :
         {u"/wipe/a.txt/1/b", u"//a.txt/1/b", u"/encrypted/a.txt/1", u"/\tencrypt/a.txt/1",
          u"/en crypt/a.txt/1", u"/string/encrypt/1/x"}) {
        EXPECT_EQ(Parse(line).action, Action::Usage) << testing::PrintToString(line);
    }
}

// --- The grammar --------------------------------------------------------------

TEST(CommandLineGrammar, EmptyArgumentTextIsInteractive) {
    EXPECT_EQ(Parse(u""), Command{});
    EXPECT_EQ(Parse(u"").action, Action::Interactive);
}

TEST(CommandLineGrammar, FewerThanThreeSlashesIsUnusable) {
    for (const char16_t* line :
         {u" ", u"encrypt", u"/encrypt", u"/encrypt/a.txt", u"//", u"encrypt a.txt 123 b.txt"}) {
        EXPECT_EQ(Parse(line), Expect(Action::Usage, u"", u"", u"", u""))
            << testing::PrintToString(line);
    }
    EXPECT_EQ(Parse(u"///").action, Action::Usage);  // three slashes, but no operation
}

TEST(CommandLineGrammar, LeadInIsIgnored) {
    const Command plain = Parse(u"/encrypt/a.txt/123/b.enc");
    EXPECT_EQ(Parse(u"run /encrypt/a.txt/123/b.enc"), plain);
    EXPECT_EQ(Parse(u"encrypt decrypt string /encrypt/a.txt/123/b.enc"), plain);
    EXPECT_EQ(plain.action, Action::EncryptFile);
}

TEST(CommandLineGrammar, LastFieldKeepsSlashesAndEmptyPieces) {
    EXPECT_EQ(Parse(u"/encrypt/string/123/a/b//c").text, u"a/b//c");
    EXPECT_EQ(Parse(u"/encrypt/string/123/a/b//c/").text, u"a/b//c/");
    EXPECT_EQ(Parse(u"/encrypt/string/123///").text, u"//");
    // An absolute destination path works because only the last field may hold "/".
    EXPECT_EQ(Parse(u"/encrypt/a.txt/123//home/me/a.txt.enc"),
              Expect(Action::EncryptFile, u"a.txt", u"/home/me/a.txt.enc", u"", u"123"));
}

TEST(CommandLineGrammar, StringFieldKeepsItsSpaces) {
    EXPECT_EQ(Parse(u"/encrypt/string/123/  two  words  "),
              Expect(Action::EncryptString, u"string", u"two  words", u"  two  words  ", u"123"));
    EXPECT_EQ(Parse(u"/decrypt/string/123/ ").text, u" ");
}

TEST(CommandLineGrammar, OnlyTheSpaceCharacterIsTrimmed) {
    const Command c = Parse(u"/encrypt/\ta.txt /\t123\t/ b.enc\t");
    EXPECT_EQ(c, Expect(Action::EncryptFile, u"\ta.txt", u"b.enc\t", u"", u"\t123\t"));
}

TEST(CommandLineGrammar, PathsKeepInnerSpacesAndQuotes) {
    EXPECT_EQ(Parse(u"/encrypt/ c:\\my files\\a.txt /123"),
              Expect(Action::EncryptFile, u"c:\\my files\\a.txt", u"c:\\my files\\a.txt.enc", u"",
                     u"123"));
    EXPECT_EQ(Parse(u"/decrypt/\"my file.enc\"/123/'out file'"),
              Expect(Action::DecryptFile, u"\"my file.enc\"", u"'out file'", u"", u"123"));
    EXPECT_EQ(Parse(u"/decrypt/\"a.enc\"/123").destination, u"\"a.");
}

TEST(CommandLineGrammar, EmptyButPresentLastFieldIsNoDefault) {
    EXPECT_EQ(Parse(u"/encrypt/a.txt/123/"),
              Expect(Action::EncryptFile, u"a.txt", u"", u"", u"123"));
    EXPECT_EQ(Parse(u"/decrypt/a.txt.enc/123/   "),
              Expect(Action::DecryptFile, u"a.txt.enc", u"", u"", u"123"));
    EXPECT_EQ(Parse(u"/encrypt/string/123/"),
              Expect(Action::EncryptString, u"string", u"", u"", u"123"));
}

TEST(CommandLineGrammar, WordsIgnoreCaseAndSurroundingSpaces) {
    EXPECT_EQ(Parse(u"/ ENCRYPT / String /1/x").action, Action::EncryptString);
    EXPECT_EQ(Parse(u"/DeCrYpT/sTrInG/1/x").action, Action::DecryptString);
    EXPECT_EQ(Parse(u"/Encrypt/Strings/1/x").action, Action::EncryptFile);
    // The source box keeps the source word as typed.
    EXPECT_EQ(Parse(u"/ENCRYPT/ String /1/x").source, u"String");
}

TEST(CommandLineGrammar, AskInAnyCaseMeansPrompt) {
    for (const char16_t* line :
         {u"/encrypt/a.txt/-ask", u"/encrypt/a.txt/ -ASK ", u"/encrypt/a.txt/-AsK/b"}) {
        const Command c = Parse(line);
        EXPECT_TRUE(c.askPassword) << testing::PrintToString(line);
        EXPECT_EQ(c.password, u"") << testing::PrintToString(line);
        EXPECT_EQ(c.action, Action::EncryptFile);
    }
    for (const char16_t* word : {u"ask", u"--ask", u"-ask-", u"- ask", u"\t-ask"}) {
        const Command c = Parse(u"/encrypt/a.txt/" + std::u16string(word));
        EXPECT_FALSE(c.askPassword) << testing::PrintToString(word);
        EXPECT_EQ(c.password, word);
    }
}

TEST(CommandLineGrammar, PasswordLosesOnlySurroundingSpaces) {
    EXPECT_EQ(Parse(u"/encrypt/a.txt/  pass word  ").password, u"pass word");
    EXPECT_EQ(Parse(u"/encrypt/a.txt/\"123\"").password, u"\"123\"");
    const Command empty = Parse(u"/encrypt/a.txt/   /b");
    EXPECT_EQ(empty.password, u"");
    EXPECT_FALSE(empty.askPassword);
    EXPECT_EQ(empty.action, Action::EncryptFile);
}

TEST(CommandLineGrammar, NonAsciiTextPassesThrough) {
    EXPECT_EQ(Parse(u"/encrypt/string/p\u00e4ss/gr\u00fc\u00dfe \u20ac"),
              Expect(Action::EncryptString, u"string", u"gr\u00fc\u00dfe \u20ac",
                     u"gr\u00fc\u00dfe \u20ac", u"p\u00e4ss"));
    // Only A-Z fold: a dotted capital I does not make "encrypt".
    EXPECT_EQ(Parse(u"/ENCRYPT/str\u0130ng/1/x").action, Action::EncryptFile);
}

TEST(CommandLineHelpers, TrimSpaces) {
    EXPECT_EQ(TrimSpaces(u""), u"");
    EXPECT_EQ(TrimSpaces(u"   "), u"");
    EXPECT_EQ(TrimSpaces(u" a b "), u"a b");
    EXPECT_EQ(TrimSpaces(u"\ta\n"), u"\ta\n");
}

TEST(CommandLineHelpers, ToLowerAscii) {
    EXPECT_EQ(ToLowerAscii(u"AZaz09-@[`\u00c4"), u"azaz09-@[`\u00c4");
}

}  // namespace
}  // namespace core::commandline
