#pragma once
#include <glib.h>

#include <optional>

// What the command line asks of the program; a bare start asks nothing. Each
// option is one field here and one row of the table in command_line.cpp.
struct CommandLine {
  gboolean help = FALSE;
  gboolean version = FALSE;
  gboolean autostart = FALSE;  // started by the session's autostart entry
};

// Reads the options with GLib's option parser. Returns the exit code when the
// command line is answered without a start: 0 after --help or --version (the
// answer on standard output), 1 after an unknown option or an argument (one
// line on standard error). A bare start reads nothing and writes nothing.
std::optional<int> ReadCommandLine(int argc, char** argv, CommandLine& options);
