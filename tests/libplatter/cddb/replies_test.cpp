// replies_test.cpp - the server answers the clients take apart: CDDB status
// lines, protocol levels, matches, sites, the "." body; HTTP responses by
// length, by chunks and by close; SMTP reply lines; and the mail text that
// DATA sends (header fields, charset, CR LF, dot-stuffing).
#include "libplatter/cddb/replies.h"
#include "libplatter/net/httpreply.h"
#include "libplatter/net/mailtext.h"

#include <gtest/gtest.h>

namespace {

using namespace cddb;

TEST(CddbReplies, StatusLines)
{
    struct Case {
        const char *line;
        bool ok;
        int code;
        const char *text;
    } const cases[] = {
        {"200 hostname CDDBP server ready", true, 200, "hostname CDDBP server ready"},
        {"202", true, 202, ""},
        {"599 x", true, 599, "x"},
        {"099 too low", false, 0, ""},
        {"777 too high", false, 0, ""},
        {"20 short", false, 0, ""},
        {"2000 no blank", false, 0, ""},
        {"abc", false, 0, ""},
        {"", false, 0, ""},
    };
    for (const Case &c : cases) {
        int code = 0;
        std::string text;
        EXPECT_EQ(c.ok, parseStatusLine(c.line, &code, &text)) << c.line;
        if (c.ok) {
            EXPECT_EQ(c.code, code) << c.line;
            EXPECT_EQ(c.text, text) << c.line;
        }
    }
    EXPECT_TRUE(hasBody(210));
    EXPECT_TRUE(hasBody(211));
    EXPECT_FALSE(hasBody(200));
    EXPECT_FALSE(hasBody(202));
}

TEST(CddbReplies, ProtocolLevels)
{
    int current = 0, supported = 0;
    EXPECT_TRUE(parseProtoLevels("CDDB protocol level: current 1, supported 6", &current, &supported));
    EXPECT_EQ(1, current);
    EXPECT_EQ(6, supported);
    EXPECT_FALSE(parseProtoLevels("CDDB protocol level: current 5, supported 3", &current, &supported));
    EXPECT_FALSE(parseProtoLevels("current x, supported 6", &current, &supported));
    EXPECT_FALSE(parseProtoLevels("nothing here", &current, &supported));
}

TEST(CddbReplies, MatchLines)
{
    Match m;
    ASSERT_TRUE(parseMatchLine("rock 1402ce03 Motorhead / Ace / of Spades", &m));
    EXPECT_EQ("rock", m.category);
    EXPECT_EQ(0x1402ce03u, m.id);
    EXPECT_EQ("Motorhead", m.artist);
    EXPECT_EQ("Ace / of Spades", m.title);
    ASSERT_TRUE(parseMatchLine("jazz 0a0b0c0d Artist / ", &m));
    EXPECT_EQ("", m.title);
    ASSERT_TRUE(parseMatchLine("misc 0a0b0c0d Just One", &m));
    EXPECT_EQ("Just One", m.artist);
    EXPECT_EQ("Just One", m.title);
    EXPECT_FALSE(parseMatchLine("rock notanid Artist / Title", &m));
    EXPECT_FALSE(parseMatchLine("ro/ck 0a0b0c0d A / T", &m));
    EXPECT_FALSE(parseMatchLine("", &m));
}

TEST(CddbReplies, SiteLinesOfBothForms)
{
    Site s;
    ASSERT_TRUE(parseSiteLine("gnudb.gnudb.org cddbp 8880 - N000.00 W000.00 Random server", &s));
    EXPECT_EQ("gnudb.gnudb.org", s.host);
    EXPECT_EQ("cddbp", s.protocol);
    EXPECT_EQ(8880, s.port);
    EXPECT_EQ("Random server", s.description);
    ASSERT_TRUE(parseSiteLine("h.example http 80 /~cddb/cddb.cgi S033.52 E151.12 Sydney", &s));
    EXPECT_EQ("http", s.protocol);
    EXPECT_EQ("/~cddb/cddb.cgi", s.address);
    ASSERT_TRUE(parseSiteLine("old.example 888 N037.23 W122.00 Old style, no description words lost", &s));
    EXPECT_EQ("cddbp", s.protocol);
    EXPECT_EQ(888, s.port);
    EXPECT_EQ("Old style, no description words lost", s.description);
    ASSERT_TRUE(parseSiteLine("bare.example 888 N0 W0", &s));
    EXPECT_EQ("", s.description);
    EXPECT_FALSE(parseSiteLine("h cddbp 99999 - N0 W0 port too big", &s));
    EXPECT_FALSE(parseSiteLine("h cddbp 80 - X0 W0 bad latitude", &s));
    EXPECT_FALSE(parseSiteLine("h cddbp", &s));
}

TEST(CddbReplies, BodyEndsAtDotAndUnstuffs)
{
    BodyReader body;
    EXPECT_TRUE(body.add("first"));
    EXPECT_TRUE(body.add("..dotted"));
    EXPECT_FALSE(body.add("."));
    EXPECT_TRUE(body.complete());
    EXPECT_FALSE(body.add("after the end"));
    EXPECT_EQ((std::vector<std::string>{"first", ".dotted"}), body.lines());
}

TEST(NetReplies, SmtpReplyLines)
{
    int code;
    bool last;
    std::string text;
    ASSERT_TRUE(net::parseSmtpReplyLine("250-mail.example Hello", &code, &last, &text));
    EXPECT_EQ(250, code);
    EXPECT_FALSE(last);
    ASSERT_TRUE(net::parseSmtpReplyLine("250 OK", &code, &last, &text));
    EXPECT_TRUE(last);
    ASSERT_TRUE(net::parseSmtpReplyLine("354", &code, &last, &text));
    EXPECT_TRUE(last);
    EXPECT_FALSE(net::parseSmtpReplyLine("25O OK", &code, &last, &text));
    EXPECT_FALSE(net::parseSmtpReplyLine("250xOK", &code, &last, &text));
    EXPECT_FALSE(net::parseSmtpReplyLine("999 what", &code, &last, &text));
}

TEST(NetReplies, HttpResponses)
{
    struct Case {
        const char *name;
        std::string raw;
        bool closed;
        net::HttpState state;
        int status;
        const char *body;
    } const cases[] = {
        {"ByLength", "HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\nhelloEXTRA", false, net::HttpState::Complete, 200,
         "hello"},
        {"LengthNotYetHere", "HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\nhel", false, net::HttpState::Incomplete, 0,
         ""},
        {"LengthCutByClose", "HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\nhel", true, net::HttpState::Invalid, 0, ""},
        {"ByClose", "HTTP/1.1 404 Not Found\r\nServer: x\r\n\r\ngone", true, net::HttpState::Complete, 404, "gone"},
        {"ByCloseStillOpen", "HTTP/1.1 200 OK\r\n\r\nmore to come", false, net::HttpState::Incomplete, 0, ""},
        {"Chunked", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n4\r\nabcd\r\n3;x=y\r\nefg\r\n0\r\n\r\n",
         false, net::HttpState::Complete, 200, "abcdefg"},
        {"ChunkWithoutCrLf", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n4\r\nabcdX\r\n0\r\n\r\n", false,
         net::HttpState::Invalid, 0, ""},
        {"ChunkSizeNotHex", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n", false,
         net::HttpState::Invalid, 0, ""},
        {"NotHttp", "NOT HTTP AT ALL\r\n\r\n", true, net::HttpState::Invalid, 0, ""},
        {"HeadCutByClose", "HTTP/1.0 200 OK\r\nContent-", true, net::HttpState::Invalid, 0, ""},
        {"HeaderWithoutName", "HTTP/1.0 200 OK\r\n: nameless\r\n\r\n", true, net::HttpState::Invalid, 0, ""},
        {"HugeLength", "HTTP/1.0 200 OK\r\nContent-Length: 999999999\r\n\r\n", false, net::HttpState::Invalid, 0,
         ""},
    };
    for (const Case &c : cases) {
        net::HttpResponse response;
        std::string problem;
        EXPECT_EQ(c.state, net::parseHttpResponse(c.raw, c.closed, &response, &problem)) << c.name;
        if (c.state == net::HttpState::Complete) {
            EXPECT_EQ(c.status, response.status) << c.name;
            EXPECT_EQ(c.body, response.body) << c.name;
        }
        if (c.state == net::HttpState::Invalid)
            EXPECT_FALSE(problem.empty()) << c.name;
    }
}

TEST(NetReplies, HttpUrls)
{
    net::HttpUrl url;
    ASSERT_TRUE(net::parseHttpUrl("http://gnudb.gnudb.org/~cddb/cddb.cgi", &url));
    EXPECT_EQ("gnudb.gnudb.org", url.host);
    EXPECT_EQ(80, url.port);
    EXPECT_EQ("/~cddb/cddb.cgi", url.path);
    ASSERT_TRUE(net::parseHttpUrl("HTTP://127.0.0.1:8080", &url));
    EXPECT_EQ(8080, url.port);
    EXPECT_EQ("/", url.path);
    EXPECT_FALSE(net::parseHttpUrl("https://host/", &url));
    EXPECT_FALSE(net::parseHttpUrl("http://:80/", &url));
    EXPECT_FALSE(net::parseHttpUrl("http://host:99999/", &url));
    EXPECT_FALSE(net::parseHttpUrl("http://host/a path", &url));
    EXPECT_EQ("cddb+query+a%2Fb%3D1%26", net::urlEncode("cddb query a/b=1&"));
    EXPECT_EQ("%C3%A9-_.~", net::urlEncode("\xC3\xA9-_.~"));
}

TEST(NetReplies, MailTextForData)
{
    std::string data = net::mailData("me@example.org", "cddb@example.org", "cddb rock 1402ce03",
                                     "Tue, 05 Mar 2024 10:00:00 +0100", ".starts with a dot\nplain\r\n..two\rlast");
    EXPECT_EQ("From: me@example.org\r\nTo: cddb@example.org\r\nSubject: cddb rock 1402ce03\r\n"
              "Date: Tue, 05 Mar 2024 10:00:00 +0100\r\nMIME-Version: 1.0\r\n"
              "Content-Type: text/plain; charset=US-ASCII\r\nContent-Transfer-Encoding: 7bit\r\n\r\n"
              "..starts with a dot\r\nplain\r\n...two\r\nlast\r\n",
              data);
    EXPECT_STREQ("UTF-8", net::bodyCharset("caf\xC3\xA9"));
    EXPECT_STREQ("ISO-8859-1", net::bodyCharset("caf\xE9"));
    EXPECT_NE(std::string::npos, net::mailData("a", "b", "s", "d", "caf\xC3\xA9").find("charset=UTF-8\r\n"
                                                                                       "Content-Transfer-Encoding: 8bit"));
    EXPECT_EQ("=?UTF-8?B?Y2Fmw6k=?=", net::headerText("caf\xC3\xA9", "UTF-8"));
}

} // namespace
