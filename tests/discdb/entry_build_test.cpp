#include <gtest/gtest.h>

#include "discdb/entry_text.h"
#include "discdb/sample_disc.h"

namespace zcd {
namespace {

using test::TwoTrackTiming;

void FillTwoTrackRecord(DiscRecord& record) {
  record.SetTiming(TwoTrackTiming());
  record.SetCategory("rock");
  record.SetDiscIdText("0c01a202");
  record.SetDiscTitle("Artist / Album");
  record.SetTrackTitle(0, "One");
  record.SetTrackExtended(1, "Live");
}

const std::string kOurHead =
    "# xmcd CD database file\r\n# Copyright (C) 2026 The ZCD developers.\r\n";
const std::string kOurToc =
    "#\r\n# Track frame offsets:\r\n#\t150\r\n#\t14250\r\n#\r\n# Disc length: 420 seconds\r\n#\r\n";
const std::string kOurName = "ZentaroCD v1.25 (C) 2026 The ZCD developers";

TEST(BuildEntryTest, NormalAndCachedEntriesAreByteExact) {
  DiscRecord record;
  FillTwoTrackRecord(record);
  EXPECT_EQ(BuildNewEntryText(record, false),
            "100 rock 0c01a202\r\n" + kOurHead + kOurToc +
                "# Revision: 1\r\n# Submitted via: " + kOurName +
                "\r\n#\r\nDISCID=0c01a202\r\nDTITLE=Artist / Album\r\nTTITLE0=One\r\nTTITLE1=\r\n"
                "EXTD=\r\nEXTT0=\r\nEXTT1=Live\r\nPLAYORDER=\r\n.\r\n");
  // A cached entry has no extended or play order keys.
  record.SetCategory("cached");
  EXPECT_EQ(BuildNewEntryText(record, true),
            "300 cached 0c01a202\r\n# ZCD database file - cached entry\r\n" + kOurToc +
                "# Note: This does not conform to CDDB standards\r\n# Created By: " + kOurName +
                "\r\n#\r\nDISCID=0c01a202\r\nDTITLE=Artist / Album\r\nTTITLE0=One\r\nTTITLE1=\r\n"
                ".\r\n");
}

TEST(BuildEntryTest, LongTextsAreCutAt68And70Characters) {
  DiscRecord record;
  FillTwoTrackRecord(record);
  const std::string title(100, 't');
  const std::string extended(141, 'e');
  record.SetDiscTitle(title);
  record.SetTrackTitle(1, std::string(68, 's'));
  record.SetTrackExtended(0, extended);
  const std::string text = BuildNewEntryText(record, false);
  EXPECT_NE(text.find("\r\nDTITLE=" + std::string(68, 't') + "\r\nDTITLE=" + std::string(32, 't') +
                      "\r\nTTITLE0=One\r\nTTITLE1=" + std::string(68, 's') +
                      "\r\nEXTD=\r\nEXTT0=" + std::string(70, 'e') +
                      "\r\nEXTT0=" + std::string(70, 'e') + "\r\nEXTT0=e\r\nEXTT1=Live\r\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(GetEntryValue("DTITLE=", text), title);
  EXPECT_EQ(GetEntryValue("EXTT0=", text), extended);
}

TEST(BuildEntryTest, RecordWithoutCategoryIdentifierOrTitleStillGetsEveryKey) {
  DiscRecord record;
  record.SetTiming(TwoTrackTiming());
  record.SetDiscExtended("Notes typed in the editor");
  const std::string text = BuildNewEntryText(record, false);
  EXPECT_TRUE(text.starts_with("100 nocategory 0c01a202\r\n"));
  EXPECT_EQ(HeadCategory(text, 1), "nocategory");
  EXPECT_EQ(GetEntryValue("DTITLE=", text), "");
  EXPECT_EQ(GetEntryValue("EXTD=", text), "Notes typed in the editor");
  // So a later edit of the title has a line to replace.
  std::string edited = text;
  EXPECT_TRUE(SetEntryValue("DTITLE=", "Later / Title", edited));

  // An empty disc has only the disc's keys.
  const DiscRecord no_disc;
  const std::string empty = BuildNewEntryText(no_disc, false);
  EXPECT_TRUE(empty.starts_with("100 nocategory 00000000\r\n"));
  EXPECT_NE(empty.find("# Track frame offsets:\r\n#\r\n# Disc length: 0 seconds\r\n"),
            std::string::npos);
  EXPECT_TRUE(empty.ends_with("DISCID=00000000\r\nDTITLE=\r\nEXTD=\r\nPLAYORDER=\r\n.\r\n"));
}

// An entry as a server sends it: its own head, offsets and identifier.
const std::string kFetchedHead =
    "210 rock 0c01a202 CD database entry follows (until terminating `.')\r\n# xmcd\r\n#\r\n"
    "# Track frame offsets:\r\n#       182\r\n#       14282\r\n#\r\n# Disc length: 421 seconds\r\n";
const std::string kFetchedBody =
    "DISCID=0c01a203\nDTITLE=Artist / Album\r\nTTITLE0=One\r\nTTITLE1=Two\r\nEXTD=\r\nEXTT0=\r\n"
    "EXTT1=\r\nPLAYORDER=\r\n.\r\n";
const std::string kFetched = kFetchedHead +
                             "#\r\n# Revision: 3\r\n# Processed by: cddbd v1.0\r\n"
                             "# Submitted via: SomePlayer 2.0\r\n#\r\n" +
                             kFetchedBody;

TEST(NormalizeEntryTest, LocalHeadOffsetsAndIdentifierReplaceTheServers) {
  DiscRecord record;
  FillTwoTrackRecord(record);
  std::string text = kFetched;
  ASSERT_TRUE(NormalizeReadEntry(record, text));
  EXPECT_EQ(text, "200 rock 0c01a202\r\n" + kOurHead + kOurToc +
                      "# Revision: 3\r\n# Processed by: cddbd v1.0\r\n"
                      "# Submitted via: SomePlayer 2.0\r\n#\r\nDISCID=0c01a202\r\n" +
                      kFetchedBody.substr(kFetchedBody.find('\n') + 1));

  // Without a category in the record, and texts that are no entry.
  DiscRecord bare;
  bare.SetTiming(TwoTrackTiming());
  text = kFetched;
  ASSERT_TRUE(NormalizeReadEntry(bare, text));
  EXPECT_TRUE(text.starts_with("200 nocategory 0c01a202\r\n"));
  for (const std::string original : {"401 No such CD entry in database.\r\n", ""}) {
    text = original;
    EXPECT_FALSE(NormalizeReadEntry(bare, text));
    EXPECT_EQ(text, original);
  }
}

TEST(StampRevisionTest, RaisesRevisionAndReplacesSubmitter) {
  std::string text = kFetched;
  ASSERT_TRUE(StampRevision(text));
  EXPECT_EQ(text, kFetchedHead + "# Revision: 4\r\n# Submitted via: " + kOurName + "\r\n#\r\n" +
                      kFetchedBody);
  // Stamping again keeps the disc length line that now precedes the revision.
  ASSERT_TRUE(StampRevision(text));
  EXPECT_EQ(EntryRevision(text), 5);
  EXPECT_EQ(EntryDiscSeconds(text), 421);

  text = "100 a b\r\n#\r\n# Revision:\r\n#\r\nDISCID=1\r\n.\r\n";
  ASSERT_TRUE(StampRevision(text));
  EXPECT_EQ(text, "100 a b\r\n# Revision: 1\r\n# Submitted via: " + kOurName +
                      "\r\n#\r\nDISCID=1\r\n.\r\n");
  // Texts without a revision, or without an identifier after it, are refused.
  for (const std::string original :
       {"", "# Revision: 2\r\n.\r\n", "DISCID=1\r\n#\r\n# Revision: 2\r\n.\r\n",
        "DTITLE=x\r\nDISCID=1\r\n"}) {
    text = original;
    EXPECT_FALSE(StampRevision(text)) << original;
    EXPECT_EQ(text, original);
  }
}

}  // namespace
}  // namespace zcd
