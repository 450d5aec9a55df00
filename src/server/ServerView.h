#pragma once

#include <string>

namespace mts {

// How much a line matters to whoever looks after the server. The numbers are
// the syslog priorities the journal files the lines under.
enum class LinePriority {
  Error = 3,    // something failed: a listener restart, a setting it cannot serve with
  Warning = 4,  // worked around, worth acting on: a dropped connection, a bad setting
  Result = 6,   // what happened: a badge or card answered, a terminal connected
  Trace = 7,    // every key a terminal sends
};

// What the server shows to the person running it. The window implements it
// with its widgets; the headless run prints to the console. Every text is
// Windows-1252. Called on the event-loop thread only.
class ServerView {
 public:
  virtual ~ServerView() = default;

  // Appends one line, without time stamp, to the received-data view: a
  // result.
  virtual void addReceived(const std::string& line) = 0;
  // The same for a line of another priority; the window shows them alike.
  virtual void addReceivedAt(LinePriority priority, const std::string& line) {
    (void)priority;
    addReceived(line);
  }
  // Adds an entry ("n - address") to the terminal list. The server calls it
  // once per terminal; entries are never removed.
  virtual void addTerminalListEntry(const std::string& entry) = 0;
  // Sets the text of a status-bar panel (0 to 3).
  virtual void setStatusPanel(int panel, const std::string& text) = 0;
  // Shows an error message box (the headless run writes to standard error).
  virtual void showError(const std::string& message) = 0;
  // A trouble the server works around, worth an operator's attention but not
  // a dialog box that would hold up the event loop: a line in the
  // received-data view of the window; the headless run writes it to standard
  // error.
  virtual void showNotice(const std::string& line) { addReceived(line); }
};

}  // namespace mts
