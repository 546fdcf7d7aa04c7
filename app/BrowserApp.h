#pragma once

// The program: reads its command line, then runs the main window until it closes.
//   farsighter [--settings DIR] [--master HOST:PORT]
// --settings keeps settings and favorites in DIR instead of the user's folders (a
// throw-away profile for a demonstration); --master sets the master server. --help and
// --version answer without a display.
class CBrowserApp
{
public:
    static int Run(int argc, char** argv);
};
