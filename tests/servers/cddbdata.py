"""cddbdata.py - the canned entries, server sites and categories of the
project's CDDB test server, and the xmcd text and disc ids made from them.

The discs the tests look up (frame offsets of the tracks, lead-out):
  exact    3 tracks 150 18000 36000, lead-out 54000: one entry, in "rock",
           with texts beyond ASCII (some of them outside code page 1252)
  fuzzy    4 tracks 150 20000 40000 60000, lead-out 80000: no entry of its
           own id, two close ones (in "misc" and "jazz")
  twice    5 tracks 150 10000 20000 30000 40000, lead-out 50000: entries of
           the same id in "folk" and "blues"
  none     2 tracks 150 30000, lead-out 45000: nothing near
"""

CATEGORIES = ["blues", "classical", "country", "data", "folk", "jazz",
              "misc", "newage", "reggae", "rock", "soundtrack"]


def disc_id(offsets, leadout_frames):
    def digit_sum(n):
        return sum(int(d) for d in str(n))
    checksum = sum(digit_sum(o // 75) for o in offsets)
    seconds = leadout_frames // 75 - offsets[0] // 75
    return ((checksum % 255) << 24) | (seconds << 8) | len(offsets)


def entry(category, offsets, leadout, artist, title, tracks, extd="", extt=None,
          year="", genre="", playorder=""):
    return {
        "category": category, "offsets": offsets, "leadout": leadout,
        "id": disc_id(offsets, leadout), "artist": artist, "title": title,
        "tracks": tracks, "extd": extd, "extt": extt or [""] * len(tracks),
        "year": year, "genre": genre, "playorder": playorder,
    }


ENTRIES = [
    entry("rock", [150, 18000, 36000], 54000,
          "Motörhead", "Café € Ωmega",
          ["Ace of Spades", "Überall", "日本の歌"],
          extd="First line\nSecond line\twith a tab, and a back\\slash",
          extt=["", "Track two's note", ""], year="1980", genre="Metal",
          playorder="3,1,2"),
    entry("misc", [150, 20010, 40010, 60010], 80075,
          "Close Artist", "Close Title", ["One", "Two", "Three", "Four"]),
    entry("jazz", [150, 20030, 40030, 60030], 80150,
          "Other Artist", "", ["Uno", "Dos", "Tres", "Cuatro"]),
    entry("folk", [150, 10000, 20000, 30000, 40000], 50000,
          "Folk Singer", "Same Id", ["a", "b", "c", "d", "e"]),
    entry("blues", [150, 10000, 20000, 30000, 40000], 50000,
          "Blues Singer", "Same Id", ["f", "g", "h", "i", "j"]),
]

# (host, protocol, port, address, latitude, longitude, description)
SITES = [
    ("127.0.0.1", "cddbp", 8880, "-", "N000.00", "W000.00", "Test server, Zürich"),
    ("127.0.0.1", "http", 80, "/~cddb/cddb.cgi", "N000.00", "W000.00", "Test server over HTTP"),
    ("127.0.0.1", "http", 8000, "/~cddb/cddb.cgi", "N000.00", "W000.00", "HTTP on an odd port"),
    ("127.0.0.1", "submit", 80, "/~cddb/submit.cgi", "N000.00", "W000.00", "Submissions"),
]


def escape(value):
    return value.replace("\\", "\\\\").replace("\n", "\\n").replace("\t", "\\t")


def xmcd_lines(e, drop_tracks_after=None):
    """The entry's lines (str); with drop_tracks_after, the TTITLE lines
    after that many are left out (an entry announcing more than it lists)."""
    lines = ["# xmcd", "#", "# Track frame offsets:"]
    lines += ["#\t%d" % o for o in e["offsets"]]
    lines += ["#", "# Disc length: %d seconds" % (e["leadout"] // 75), "#",
              "# Revision: 2", "# Submitted via: testserver 1.0", "#",
              "DISCID=%08x" % e["id"],
              "DTITLE=%s / %s" % (escape(e["artist"]), escape(e["title"])),
              "DYEAR=" + e["year"], "DGENRE=" + e["genre"]]
    for n, t in enumerate(e["tracks"]):
        if drop_tracks_after is None or n < drop_tracks_after:
            lines.append("TTITLE%d=%s" % (n, escape(t)))
    extd = escape(e["extd"])
    # A long value goes over several lines of the same keyword.
    while len(extd) > 20:
        lines.append("EXTD=" + extd[:20])
        extd = extd[20:]
    lines.append("EXTD=" + extd)
    lines += ["EXTT%d=%s" % (n, escape(t)) for n, t in enumerate(e["extt"])]
    lines.append("PLAYORDER=" + e["playorder"])
    return lines


def find(category, discid):
    for e in ENTRIES:
        if e["category"] == category and e["id"] == discid:
            return e
    return None


def query(discid, offsets, seconds):
    """(exact entries, close entries) for a query."""
    exact = [e for e in ENTRIES if e["id"] == discid and len(e["offsets"]) == len(offsets)]
    if exact:
        return exact, []
    close = [e for e in ENTRIES if len(e["offsets"]) == len(offsets)
             and abs(e["leadout"] // 75 - seconds) <= 10]
    return [], close
