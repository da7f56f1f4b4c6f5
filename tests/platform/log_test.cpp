// The HTML log file, byte for byte.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "log/log.h"
#include "scoped_log.h"

namespace {

using testing_support::readFileText;
using testing_support::TempDir;

const char* const kHeader =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\" \"http://www.w3.org/TR/REC-html40/strict.dtd\">\r\n"
    "<html>\r\n<head>\r\n"
    "  <meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">\r\n"
    "  <title>Log</title>\r\n</head>\r\n<body>\r\n";

TEST(LogFile, WritesHeaderWritersAndFooterWithCrLf) {
    TempDir dir;
    const std::string path = dir.file("log.htm");
    {
        Log log(path.c_str());
        log.print("<h1>MDC: %s</h1>", "head.mdc");
        log.printError("Lock failed!");
        log.printOk("%u tris, %X, %f", 12u, 0xABCu, 0.5);
        log.print("Ok<br>\n");
        EXPECT_EQ(readFileText(path).substr(0, std::string(kHeader).size()), kHeader);  // flushed already
    }
    const std::string expected = std::string(kHeader) +
                                 "<h1>MDC: head.mdc</h1>\r\n"
                                 "<p style=\"color: red; background-color: transparent;\"><b>ERROR:</b> Lock "
                                 "failed!</p>\r\n"
                                 "<p style=\"color: green; background-color: transparent;\"><b>OK:</b> 12 tris, "
                                 "ABC, 0.500000</p>\r\n"
                                 "Ok<br>\r\n\r\n"
                                 "</body>\r\n</html>";
    EXPECT_EQ(readFileText(path), expected);
}

TEST(LogFile, ErrorsReachTheFileAtOnceAndFlushHandsOverTheRest) {
    TempDir dir;
    const std::string path = dir.file("log.htm");
    Log log(path.c_str());
    for (int i = 0; i < 1000; ++i) log.print("line %d", i);  // may wait in the buffer
    log.printError("broken %s", "body.mds");
    std::string text = readFileText(path);
    EXPECT_NE(text.find("line 999\r\n"), std::string::npos);
    EXPECT_NE(text.find("<b>ERROR:</b> broken body.mds</p>\r\n"), std::string::npos);

    log.printOk("after the error");
    log.flush();
    text = readFileText(path);
    EXPECT_EQ(text.substr(text.size() - 21), "after the error</p>\r\n");
}

TEST(LogFile, StringArgumentsAreEscapedButTheFormatIsNot) {
    TempDir dir;
    const std::string path = dir.file("log.htm");
    {
        Log log(path.c_str());
        // %hs (the Windows C library's narrow string) is not known to the
        // compiler's format check, so the call goes through a pointer.
        void (Log::*print)(const char*, ...) = &Log::print;
        (log.*print)("<li>%s|%hs|%5u|%%|%d</li>", "<script>&\"x\"", "a>b", 7u, -3);
    }
    const std::string text = readFileText(path);
    EXPECT_NE(text.find("<li>&lt;script&gt;&amp;&quot;x&quot;|a&gt;b|    7|%|-3</li>\r\n"), std::string::npos);
}

TEST(LogFile, ARunReplacesTheEarlierLog) {
    TempDir dir;
    const std::string path = dir.file("log.htm");
    { Log log(path.c_str()); log.print("first run"); }
    { Log log(path.c_str()); }
    const std::string text = readFileText(path);
    EXPECT_EQ(text.find("first run"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 7), "</html>");
}

#ifndef _WIN32  // directory permission bits are POSIX
TEST(LogFile, AnUnwritableDirectoryThrowsThePlainString) {
    if (::geteuid() == 0) GTEST_SKIP() << "root can write anywhere";
    TempDir dir;
    ::chmod(dir.path().c_str(), 0500);
    const std::string path = dir.file("log.htm");
    try {
        Log log(path.c_str());
        FAIL() << "no exception";
    } catch (const char* payload) {
        EXPECT_STREQ(payload, "Log File Creation failed");
    }
    ::chmod(dir.path().c_str(), 0700);
}
#endif

TEST(LogFile, MissingDirectoryThrowsThePlainString) {
    TempDir dir;
    const std::string path = dir.file("no/such/dir/log.htm");
    EXPECT_THROW({ Log log(path.c_str()); }, const char*);
}

TEST(LogFile, TheSilentSinkTakesWritesUntilALogIsCurrent) {
    ASSERT_NE(pLog, nullptr);
    pLog->print("nobody sees %s", "this");
    {
        testing_support::ScopedLog scoped;
        pLog->printOk("seen");
        EXPECT_TRUE(scoped.contains("<b>OK:</b> seen</p>\n"));
    }
    pLog->print("after");  // back on the silent sink, no crash
}

}  // namespace
