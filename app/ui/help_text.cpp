#include "app/ui/help_text.h"

namespace zcd {
namespace {

// Keys are spelled as in the accelerator table so that tests can match them.
constexpr HelpItem kKeys[] = {
    {"Y", "Play"},
    {"T", "Pause / resume"},
    {"R", "Stop"},
    {"Q", "Eject the disc, or close the drive's tray"},
    {"E", "Next track"},
    {"W", "Previous track"},
    {"Ctrl+A", "Always on top on / off"},
    {"Ctrl+D", "The database: library, editor, export and import"},
    {"Ctrl+E", "Extended information about the disc"},
    {"Ctrl+P", "Preferences"},
    {"Ctrl+S", "CDDB settings"},
    {"Ctrl+W", "Full mode / shade mode"},
    {"Ctrl+X", "Invert removed tracks: removed ones come back, the others are removed"},
    {"Alt+C", "Query CDDB for the disc in the drive"},
    {"Alt+S", "Skins"},
    {"Alt+Space", "The window menu, with Quick Track and Preferences"},
};

constexpr HelpItem kWindowMouse[] = {
    {"Title strip (the top bar)",
     "Drag it to move the window; near a screen edge the window snaps to it (set the distance "
     "with \"Snap to desktop at\" under Preferences, GUI Options). Double-click it to switch "
     "between full mode and the small shade bar. Right-click it for the main menu."},
    {"Top-left corner",
     "Click it for the main menu. Its Double Size shows the whole window at twice its size, "
     "every pixel a sharp square; choose it again for the normal size. On a screen the desktop "
     "already enlarges, the window grows with it."},
    {"Buttons at the top right", "Minimize and close."},
    {"Title display",
     "Right-click the disc and track lines for the Quick Track menu: every entry of the play "
     "order, to play one directly. In shade mode right-click the bar. Double-click the lines to "
     "edit the disc's information."},
    {"Timer",
     "Right-click it for the timer menu: track elapsed, track remaining, CD elapsed, CD "
     "remaining."},
    {"Timer-mode indicators (beside the timer)",
     "Click them to choose elapsed or remaining time, and the track or the whole CD."},
    {"Play-mode indicators",
     "Click them to switch repeat all, repeat track and shuffle on and off."},
    {"Buttons at the bottom",
     "Eject, previous track, next track, stop, pause and play. Right-click them for the same "
     "commands as a menu."},
    {"Position slider",
     "Drag the knob to move within the track or the CD. With \"Clicking on slider track "
     "positions slider\" on, a click on the groove jumps there."},
};

constexpr HelpItem kTrackBox[] = {
    {"Click a number", "Play that entry."},
    {"Point at a number", "The display shows the track's title and length."},
    {"Drag a number", "Move the entry to another place in the play order."},
    {"Shift+drag a number", "Add a copy of the entry there, so the track plays more than once."},
    {"Right-click a number",
     "Remove the entry (a red X) or bring it back. A right-click on a copy deletes the copy."},
    {"Arrows below the numbers",
     "Scroll a row up or down. Dragging a number above or below the box scrolls too."},
    {"Data tracks",
     "With \"Mark data tracks\" on (Preferences, CD Options), tracks that hold no audio are "
     "marked and can be neither played nor removed."},
};

constexpr HelpItem kCommandLine[] = {
    {"zcd /play", "Play from the start of the play order."},
    {"zcd /play D:\\Track05.cda", "Switch to drive D: and play track 5."},
    {"zcd /stop", "Stop."},
    {"zcd /pause", "Pause / resume."},
    {"zcd /trkfwd", "Next track."},
    {"zcd /trkbwd", "Previous track."},
    {"zcd /eject", "Eject the disc, or close the drive's tray."},
    {"zcd /togglewin", "Full mode / shade mode."},
    {"zcd /ontop", "Always on top on / off."},
    {"zcd /hide", "Minimize the window."},
    {"zcd /show", "Restore the window."},
    {"zcd /netlog", "Write the network log for this run."},
    {"zcd /autoplay",
     "Play as soon as the player starts, as the desktop asks for an inserted audio CD; a "
     "player that already runs ignores it."},
};

constexpr HelpItem kDataFolder[] = {
    {"ZCD_HOME=DIR or zcd --home DIR", "Everything lives in DIR."},
    {"A portable install",
     "When ZCD.ini sits beside the zcd program in a folder you may write to, everything lives "
     "there."},
    {"Otherwise",
     "The settings are in ~/.config/zcd/ZCD.ini; the database ZCD.zdb, the skins folder and "
     "the network log ZCDNetLog.txt are in ~/.local/share/zcd. XDG_CONFIG_HOME and "
     "XDG_DATA_HOME move these as usual."},
};

constexpr HelpSection kSections[] = {
    {"Keys", "In the player's window:", kKeys},
    {"Mouse in the window", "", kWindowMouse},
    {"Mouse in the track box",
     "The numbers at the right are the play order, one entry per track:", kTrackBox},
    {"Command line",
     "Commands may be written in any case and combined. Starting zcd again while it runs hands "
     "the commands to the running player and exits, so zcd /pause works as a remote control. "
     "zcd --help lists the other options.",
     kCommandLine},
    {"Where your data lives",
     "ZCD.ini is readable by you alone, as it may hold a proxy password. Settings are written "
     "when Preferences or CDDB Settings close and when the player exits.",
     kDataFolder},
};

QString Escaped(const char* text) {
  return QString::fromUtf8(text).toHtmlEscaped();
}

}  // namespace

std::span<const HelpSection> HelpSections() {
  return kSections;
}

QString HelpPageHtml() {
  QString html = "<html><body>";
  for (const HelpSection& section : HelpSections()) {
    html += "<h3>" + Escaped(section.title) + "</h3>";
    if (section.intro[0] != '\0')
      html += "<p>" + Escaped(section.intro) + "</p>";
    html += "<table cellspacing=\"0\" cellpadding=\"3\">";
    for (const HelpItem& item : section.items) {
      html += "<tr><td valign=\"top\"><b>" + Escaped(item.what) + "</b></td><td valign=\"top\">" +
              Escaped(item.does) + "</td></tr>";
    }
    html += "</table>";
  }
  return html + "</body></html>";
}

}  // namespace zcd
