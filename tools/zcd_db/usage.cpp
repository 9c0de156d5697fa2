#include "tools/zcd_db/commands.h"

namespace zcd::tool {

std::string UsageText() {
  return "Usage: zcd-db [--home DIR] [--db FILE] COMMAND [ARGUMENT]...\n"
         "Works on the ZCD disc database (ZCD.zdb) of the player's data folder.\n"
         "\n"
         "Options:\n"
         "  --home DIR   use the data folder DIR (also ZCD_HOME=DIR)\n"
         "  --db FILE    use the database FILE instead\n"
         "  --help       show this text\n"
         "\n"
         "Commands:\n"
         "  list [--category C]\n"
         "      one line per entry, oldest first: KEY, a tab, the disc title\n"
         "  show ID|KEY\n"
         "      the first entry whose key contains ID or KEY, as stored\n"
         "  export plain|ini|raw [--category C | --artist A | --disc ID] [-o FILE]\n"
         "      export everything, or one category, artist or disc, with every\n"
         "      option of the format; the file defaults to zcd_export.txt,\n"
         "      zcd_category.txt, zcd_artist.txt, zcd_album.txt, zcd_iniformat.txt\n"
         "      or zcd_rawformat.txt in the current folder; -o - writes to\n"
         "      standard output\n"
         "  import FILE.zdb [--rule overwrite|keep]\n"
         "      merge another database; for a disc already present, overwrite\n"
         "      (the default) replaces the entry under the same key, keep skips it\n"
         "  add-xmcd PATH...\n"
         "      add xmcd files, or folders of them such as a dump tree of\n"
         "      CATEGORY/DISCID files; UTF-8 texts become Windows-1252, other\n"
         "      texts are taken as ISO-8859-1/Windows-1252. Files that are not\n"
         "      xmcd entries are skipped with a message (exit status 1)\n"
         "  check\n"
         "      look for damage; names each problem and exits with status 1\n"
         "  discid OFFSET... LEADOUT\n"
         "      the CDDB disc identifier and the cdplayer.ini key of a disc, from\n"
         "      the frame offset of every track and of the lead-out, one per line\n"
         "\n"
         "Exit status: 0 success, 1 failure, 2 unusable command line.\n";
}

}  // namespace zcd::tool
