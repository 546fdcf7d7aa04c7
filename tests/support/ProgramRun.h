#pragma once

#include <chrono>
#include <string>
#include <vector>

// Runs a program to its end, as a shell script would, for end-to-end tests.
struct ProgramResult
{
    int exitCode = -1; // 128 + signal number when a signal ended it
    std::string out;   // standard output
    std::string err;   // standard error (or what the terminal showed, see below)
    std::chrono::milliseconds elapsed{0};
};

// Starts path with args (no shell), standard input empty, standard output and error
// captured through pipes. With stderrOnTerminal, standard error is a pseudo-terminal
// instead, and err holds what was written to it. A program still running after timeout is
// killed and the result says so with exit code 128 + SIGKILL. Throws std::system_error
// when the program cannot be started.
ProgramResult RunProgram(const std::string& path, const std::vector<std::string>& args,
                         std::chrono::milliseconds timeout, bool stderrOnTerminal = false);
