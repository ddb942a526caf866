#include "cli/messages.h"

#include <iostream>

#include "cli/screen_summary.h"

namespace {

constexpr const char* ProgramName = "scrfix-cli";

constexpr const char* HelpText = R"(Usage: scrfix-cli COMMAND [OPTION]... FILE...
Works on ZX Spectrum screen files in bulk: 6912 bytes, the 6144-byte bitmap
followed by 768 attribute bytes. The same 6912 bytes behind a valid 128-byte
+3DOS header are read too, and such a file keeps its header when rewritten.

Commands:
  info FILE...
      One line per screen: its number of distinct attributes, the cells whose
      ink equals their paper, the bright and flash cells, and how many cells
      Optimize would re-encode.
  optimize FILE... (-o OUT | --in-place)
      Re-encode cells so that a colour shared by neighbouring cells of a row
      is ink in both or paper in both.
  invert FILE... (-o OUT | --in-place)
      Re-encode every cell: bitmap inverted, ink and paper exchanged.
  flip CX CY FILE (-o OUT | --in-place)
      Re-encode the cell in column CX (0-31) and row CY (0-23).
  split FILE [-d DIR]
      Write the bitmap to NAME.screen and the attributes to NAME.attr, NAME
      being FILE's name without its folder, into DIR or the current folder.
  join BITMAP ATTR -o OUT
      Put a 6144-byte bitmap file and a 768-byte attribute file together
      into the screen file OUT.
  png FILE... [-o OUT.png | -d DIR] [--mono] [--scale N] [--grid]
      [--highlight CX,CY]
      Write each screen's picture as a PNG image, NAME.png in DIR or the
      current folder (-o names it when there is one FILE): in colour, or with
      --mono the bare bitmap, grey on black; N times the screen's 256 x 192
      pixels (1 to 8, default 1); with --grid a blue line along the top and
      left edge of every cell; with --highlight one cell in complemented
      colours.

Options:
  -o OUT        write the result to OUT (one input file only)
  --in-place    replace each input file with its result
  -d DIR        the folder for the split files or the pictures
  --            every later argument is a file name
  --help        show this text
  --version     show the version

A file is never written over an input unless --in-place is given, no file is
written twice in one run, and every output is written whole or not at all.

Exit status: 0 when everything succeeded; 1 when a file failed (the other
files were still processed); 2 when the command line is wrong.
)";

}  // namespace

void printHelp() {
    std::cout << HelpText;
}

void printVersion() {
    std::cout << ProgramName << " " << SCRFIX_VERSION << "\n";
}

void reportUsageError(const std::string& problem) {
    std::cerr << ProgramName << ": " << problem << " (see " << ProgramName << " --help)\n";
}

void reportFileFailure(const std::string& file, const std::string& reason) {
    std::cerr << ProgramName << ": " << file << ": " << reason << "\n";
}

void printScreenInfo(const std::string& file, bool behindHeader, const ScreenSummary& summary) {
    std::cout << file << ": screen file" << (behindHeader ? " behind a +3DOS header" : "") << "; "
              << summary.distinctAttributes
              << " distinct attributes; cells: " << summary.inkEqualsPaperCells << " ink = paper, "
              << summary.brightCells << " bright, " << summary.flashCells << " flash, "
              << summary.optimizeFlips << " flipped by Optimize\n";
}
