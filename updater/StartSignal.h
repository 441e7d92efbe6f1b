#pragma once

// The new main program's word to `up` that it has started. `up` starts it
// with one end of a connected socket pair, whose descriptor number the
// environment variable kStartSignalVariable names; the program writes one
// byte there once its first window shows, and closes it. A program that ends
// before that closes it without a word, one that hangs never writes: either
// way `up` puts the old program back. Plain C++, shared by both programs.
namespace updater {

inline constexpr const char* kStartSignalVariable = "TEMBRA_START_SIGNAL_FD";
// The descriptor number `up` hands its end over as.
inline constexpr int kStartSignalDescriptor = 3;

// The main program's side. Takes the descriptor out of the environment and
// keeps it from every program started later (the variable is removed, the
// descriptor closed on exec). Call it first in main, before any thread or
// program is started; without the variable it does nothing.
void TakeStartSignal();

// Writes the word and closes the descriptor; later calls, and calls without
// a descriptor, do nothing.
void SendStartSignal();

} // namespace updater
