#include "mtterm/CommandLine.h"

#include <charconv>

namespace mts::termsim {
namespace {

bool parseInt(const std::string& text, int low, int high, int& value) {
  int parsed = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (ec != std::errc() || end != text.data() + text.size() || parsed < low || parsed > high) {
    return false;
  }
  value = parsed;
  return true;
}

}  // namespace

bool parseCommandLine(const std::vector<std::string>& arguments, Options& options,
                      std::string& error) {
  std::vector<std::string> positional;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    std::string name = arguments[i];
    std::optional<std::string> inlineValue;
    if (name.rfind("--", 0) == 0) {
      if (const auto eq = name.find('='); eq != std::string::npos) {
        inlineValue = name.substr(eq + 1);
        name.resize(eq);
      }
    }
    auto value = [&](std::string& out) {
      if (inlineValue) {
        out = *inlineValue;
        return true;
      }
      if (i + 1 >= arguments.size()) {
        error = name + " needs a value";
        return false;
      }
      out = arguments[++i];
      return true;
    };
    auto number = [&](int low, int high, int& out) {
      std::string text;
      if (!value(text)) return false;
      if (parseInt(text, low, high, out)) return true;
      error = name + " needs a whole number from " + std::to_string(low) + " to " +
              std::to_string(high) + ", not \"" + text + "\"";
      return false;
    };
    auto noValue = [&]() {
      if (!inlineValue) return true;
      error = name + " takes no value";
      return false;
    };

    std::string text;
    if (name == "-h" || name == "--help") {
      if (!noValue()) return false;
      options.help = true;
    } else if (name == "--version") {
      if (!noValue()) return false;
      options.version = true;
    } else if (name == "--dialect") {
      if (!value(text)) return false;
      const auto dialect = parseDialect(text);
      if (!dialect) {
        error = "--dialect is vt100 or stx, not \"" + text + "\"";
        return false;
      }
      options.dialect = *dialect;
    } else if (name == "--source-address") {
      if (!value(options.sourceAddress)) return false;
    } else if (name == "--keys") {
      if (!value(text)) return false;
      options.keys = text;
    } else if (name == "--wait-for") {
      if (!value(text)) return false;
      if (text.empty()) {
        error = "--wait-for needs a text";
        return false;
      }
      options.waitFor = text;
    } else if (name == "--settle-ms") {
      if (!number(1, 3'600'000, options.settleMs)) return false;
    } else if (name == "--timeout-ms") {
      if (!number(1, 3'600'000, options.timeoutMs)) return false;
    } else if (name == "--raw") {
      if (!noValue()) return false;
      options.raw = true;
    } else if (name == "--raw-file") {
      if (!value(options.rawFile)) return false;
      options.raw = true;
    } else if (name.size() > 1 && name[0] == '-') {
      error = "unknown option " + name;
      return false;
    } else {
      positional.push_back(name);
    }
  }

  if (positional.size() > 2) {
    error = "too many arguments: expected at most HOST and PORT";
    return false;
  }
  if (!positional.empty()) options.host = positional[0];
  if (positional.size() == 2 && !parseInt(positional[1], 1, 65535, options.port)) {
    error = "PORT must be a number from 1 to 65535, not \"" + positional[1] + "\"";
    return false;
  }
  return true;
}

std::string helpText() {
  return R"(Usage: mtterm [options] [HOST [PORT]]

Acts as one micro terminal (4x20 display, keypad, red and green LEDs) connected to a
terminal server, so the server can be tried without the hardware.
HOST defaults to 127.0.0.1 and PORT to 1001.

Options:
  --dialect vt100|stx    the server's screen dialect: VT-100 escape sequences or
                         STX/ETX-framed commands (default vt100)
  --source-address ADDR  bind this local address before connecting, e.g. 127.0.0.2;
                         the server tells terminals apart by their address
  --keys SCRIPT          scripted mode: type the keys of SCRIPT, then print the screen
  --wait-for TEXT        scripted mode: before typing, wait until the screen shows TEXT
  --settle-ms N          after each key, wait until the server has been quiet for N ms
                         (default 500; keep it above the server's LED blink pause)
  --timeout-ms N         limit for connecting, for each wait for a text and for each
                         settle (default 10000)
  --raw                  trace every byte received (<<) and sent (>>) in hex and as
                         text on stderr
  --raw-file FILE        the same trace, into FILE (use this in interactive mode)
  -h, --help             show this text
  --version              show the version (the commit it was built from)

Interactive mode (no --keys and no --wait-for) draws the display and the LEDs and sends
each key as it is pressed:
  digits, letters, ","   themselves ("," shows the detail of a refused card)
  Enter                  CR, Enter
  Backspace              BS, deletes the last character
  Esc                    ESC, cancel (back to the badge prompt)
  Delete                 DEL, also cancel
  Ctrl-R                 byte 00, redraw the prompt
  Ctrl-C or Ctrl-Q       quit

Key scripts: every character is one key, sent on its own; between braces:
  {enter}  {esc} or {cancel}  {del}  {bs} or {backspace}  {nul}   those keys
  {send:TEXT}      TEXT in one write, as a barcode reader delivers a code
  {scan:TEXT}      TEXT and Enter in one write, as a reader set to add Enter does
  {hex:31 32 0D}   the bytes given in hex, in one write
  {wait:MS}        pause MS milliseconds
  {wait-for:TEXT}  wait until the screen shows TEXT (within --timeout-ms)
  {show}           print the screen at this point
  {{               the key "{"
Names are case-insensitive; an argument ends at the first "}". After connecting, and
after each key or wait-for, mtterm waits for the server to go quiet (--settle-ms).
Example: mtterm --wait-for CRACHA: --keys "1234{enter}{wait-for:FICHA:}.1.0042{enter}"

Scripted output (stdout), one block per {show} and one at the end, blocks separated by
an empty line:
  |CRACHA:1234         |     four rows of exactly 20 characters between bars
  |                    |
  |                    |
  |                    |
  LED red=off green=off
  CURSOR row=0 col=11        0-based; a row of 4 or more is past the display

The display: characters are Windows-1252, shown as UTF-8. Text that runs past column 20
continues at the start of the next row, a cursor placed past column 20 lands on the next
row the same way, a backspace at the start of a row goes back to the end of the row
above, and characters past the last row are dropped (nothing scrolls). Bytes that are
not understood change nothing; their count is reported on stderr.

Exit status: 0 done; 1 cannot connect (or bind the source address); 2 bad command
line or key script; 3 timeout (connecting, waiting for a text, or a server that never
goes quiet); 4 the server closed the connection or it failed.
)";
}

}  // namespace mts::termsim
