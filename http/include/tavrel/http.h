// tavrel serve: the JSON API over the check and the bank directory, and the page
// that checks as you type, over HTTP/1.1.
#pragma once

namespace tavrel::http {

// Runs `tavrel serve [--bind ADDRESS] [--port N] [--threads N]`; `argv` holds the
// words after "serve". Prints "listening on URL" once it accepts connections,
// serves until SIGINT or SIGTERM and returns the exit status: 0 after a signal,
// 64 for bad options, 74 when it cannot listen.
int RunServeCommand(int argc, const char* const* argv);

}  // namespace tavrel::http
