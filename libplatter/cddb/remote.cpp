// remote.cpp - query, read, sites and lscat against a CDDB server.
#include "libplatter/cddb/remote.h"
#include "libplatter/cddb/conversation.h"
#include "libplatter/diag.h"
#include "libplatter/devices/disctoc.h"

#include <cstdio>

namespace cddb {

namespace {

// A failure code of the server as a result.
int failureOf(const Reply &reply)
{
    if (reply.code / 100 == 4)
        return PLATTER_CDDB_REFUSED;
    return PLATTER_CDDB_PROTOCOL;
}

// "cddb read CATEGORY DISCID" into the handle.
int readEntry(Conversation &conversation, Session &session, const std::string &category, uint32_t id)
{
    platterStatus("Reading entry...");
    Reply reply;
    int result = conversation.run("cddb read " + category + " " + discIdText(id), &reply);
    if (result != 1)
        return result;
    if (reply.code == 401)
        return PLATTER_CDDB_NOT_FOUND;
    if (reply.code != 210)
        return failureOf(reply);
    std::string text;
    for (const std::string &line : reply.body)
        text += line + "\n";
    XmcdEntry entry;
    std::string problem;
    if (!parseXmcd(text, &entry, &problem)) {
        platterDiag("CDDB: the entry %s %08x is not valid: %s", category.c_str(), (unsigned)id, problem.c_str());
        return PLATTER_CDDB_BAD_ENTRY;
    }
    takeEntry(session, entry, conversation.charset(), false);
    session.id = id;
    session.idKnown = true;
    session.category = category;
    return 1;
}

std::string queryCommand(const Session &session)
{
    std::string command = "cddb query " + discIdText(discIdOf(session)) + " " + std::to_string(session.trackCount);
    for (int n = 0; n < session.trackCount; ++n)
        command += " " + std::to_string(session.starts[n]);
    command += " " + std::to_string(session.starts[session.trackCount] / devices::kFramesPerSecond);
    return command;
}

} // namespace

int queryRemote(Session &session)
{
    session.fuzzy.clear();
    session.entry = XmcdEntry();
    session.idKnown = false;
    if (!discIsComplete(session))
        return PLATTER_CDDB_NOT_READY;
    Conversation conversation(session);
    int result = conversation.start();
    if (result != 1)
        return result;
    platterStatus("Sending query...");
    Reply reply;
    if ((result = conversation.run(queryCommand(session), &reply)) != 1)
        return result;
    switch (reply.code) {
    case 200: {
        Match match;
        if (!parseMatchLine(reply.text, &match))
            return PLATTER_CDDB_PROTOCOL;
        result = readEntry(conversation, session, match.category, match.id);
        return result == 1 ? 1 : result;
    }
    case 202:
        return PLATTER_CDDB_NOT_FOUND;
    case 210:
    case 211: {
        std::vector<Match> matches;
        for (const std::string &line : reply.body) {
            Match match;
            if (!parseMatchLine(line, &match))
                return PLATTER_CDDB_PROTOCOL;
            match.artist = toAnsi(match.artist, conversation.charset());
            match.title = toAnsi(match.title, conversation.charset());
            matches.push_back(match);
        }
        if (matches.empty())
            return PLATTER_CDDB_NOT_FOUND;
        // One exact match is read at once; several entries of the same id,
        // like close matches, are the user's choice.
        if (reply.code == 210 && matches.size() == 1)
            return readEntry(conversation, session, matches[0].category, matches[0].id);
        session.fuzzy = matches;
        return PLATTER_CDDB_FUZZY;
    }
    default:
        return failureOf(reply);
    }
}

int fetchRemote(Session &session)
{
    if (!session.idKnown || !isCategoryName(session.category))
        return PLATTER_CDDB_NOT_READY;
    std::string category = session.category;
    uint32_t id = session.id;
    session.entry = XmcdEntry();
    Conversation conversation(session);
    int result = conversation.start();
    if (result != 1)
        return result;
    return readEntry(conversation, session, category, id);
}

int fetchServerList(Session &session)
{
    Conversation conversation(session);
    int result = conversation.start();
    if (result != 1)
        return result;
    platterStatus("Fetching server list...");
    Reply reply;
    if ((result = conversation.run("sites", &reply)) != 1)
        return result;
    if (reply.code == 401)
        return PLATTER_CDDB_NOT_FOUND;
    if (reply.code != 210)
        return failureOf(reply);
    std::vector<Site> sites;
    for (const std::string &line : reply.body) {
        Site site;
        if (!parseSiteLine(line, &site))
            return PLATTER_CDDB_PROTOCOL;
        // The program keeps host and port only, and talks HTTP on 80 and
        // 8080: other HTTP sites, and submission sites, cannot be reached so.
        bool http = site.protocol == "http";
        if (site.protocol != "cddbp" && !(http && (site.port == 80 || site.port == 8080))) {
            platterDiag("CDDB: site %s (%s port %d) left out", site.host.c_str(), site.protocol.c_str(), site.port);
            continue;
        }
        site.description = toAnsi(site.description, conversation.charset());
        sites.push_back(site);
    }
    session.servers = sites;
    return 1;
}

int fetchCategoryList(Session &session)
{
    Conversation conversation(session);
    int result = conversation.start();
    if (result != 1)
        return result;
    platterStatus("Fetching category list...");
    Reply reply;
    if ((result = conversation.run("cddb lscat", &reply)) != 1)
        return result;
    if (reply.code != 210)
        return failureOf(reply);
    std::vector<std::string> categories;
    for (const std::string &line : reply.body) {
        if (!isCategoryName(line))
            return PLATTER_CDDB_PROTOCOL;
        categories.push_back(line);
    }
    session.categories = categories;
    return 1;
}

} // namespace cddb
