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
  extract FILE... [-o OUT | -d DIR]
      Write the screens inside ZX Spectrum snapshots (.sna, .z80, .szx; 48K
      and 128K machines) and tape images (.tap, .tzx), read through
      libspectrum, to NAME.scr in DIR or the current folder, NAME being
      FILE's name without its folder and its last extension (-o names it
      when there is one FILE). A snapshot gives the screen its machine
      shows: RAM page 5 (0x4000), or on a 128K machine page 7 when bit 3 of
      the last value written to port 0x7FFD is set (on a Timex machine the
      second screen when it shows that one; a hi-colour or hi-res display
      fails). A tape gives every data block of exactly 6912 bytes besides
      its flag and checksum bytes, in tape order: NAME.scr, NAME-2.scr,
      NAME-3.scr, ...; a tape without one fails. The extension, in any
      case, chooses the type; a file with another extension is read when
      libspectrum identifies it as one of the five. A damaged, truncated or
      compressed file gives no file.
  from-png IMAGE... [-o OUT | -d DIR]
      Turn each PNG picture back into a screen file, NAME.scr in DIR or the
      current folder, NAME being the image's name without its folder and a
      trailing .png (-o names it when there is one IMAGE). The picture is
      256 x 192 pixels, or N times that in both directions (N from 2 to 8)
      with every N x N block one colour, as png --scale N writes it; of any
      PNG colour type and bit depth, fully opaque. Each channel of a pixel
      counts as off from 0 to 24, lit from 103 to 231 and bright lit from
      232 to 255, so that palettes drawing the colours at 127, 192, 197,
      205 or 215 and 255 are all read; a channel from 25 to 102, or bright
      and non-bright lit channels in one pixel, is far from every colour.
      Each 8 x 8 cell shows at most two colours, both bright or both not
      (black goes with either). The screen shows the picture's colour at
      every pixel; a cell is bright when it shows a bright colour other than
      black, and never flashes. Cells are encoded along each row from the
      left, each after the cell on its left:
        two colours: a colour that is the left cell's paper stays paper,
          else one that is the left cell's ink stays ink, else the colour
          with more pixels is paper (on a tie the lower colour number); the
          bitmap is set where the ink is;
        one colour: the left cell's ink stays ink, with every bit set, on
          the left cell's paper; any other colour is paper with a clear
          bitmap, under the left cell's ink (at column 0 white ink, black on
          white paper).
      So a colour shared by neighbouring cells keeps its role, ink never
      equals paper, and Optimize finds nothing to re-encode. A picture that
      is not a PNG, of another size, with a block of mixed colours, a
      transparent pixel, a colour far from every Spectrum colour, or a cell
      of three colours or of bright and non-bright colours, gives no file;
      a cell's failure names the first failing cell as (CX, CY) and how
      many fail.

Options:
  -o OUT        write the result to OUT (one input file only); a tape's
                further screens go to OUT with -2, -3, ... before its
                extension
  --in-place    replace each input file with its result
  -d DIR        the folder for the split files, pictures or screens
  --            every later argument is a file name
  --help        show this text
  --version     show the version

A file is never written over an input unless --in-place is given, no file is
written twice in one run, and every output is written whole or not at all.

Environment:
  SCRFIX_LIBSPECTRUM  the libspectrum library file that extract loads,
                      instead of the one scrfix-cli was built with

Examples:
  scrfix-cli extract game.z80 tapes/*.tzx -d screens
      the screen game.z80 shows, and every screen of each tape, in screens/
  scrfix-cli from-png title.png
      title.scr, the screen that shows the picture title.png

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
