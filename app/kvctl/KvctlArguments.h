#pragma once

#include <string>
#include <vector>

#include "panel/Scene.h"

// The console tool's command line, checked in full before anything is
// sent: kvctl [--json] status | get [NAME...] | set NAME=VALUE... |
// save FILE | load FILE | --help. Options may stand anywhere.
struct KvctlArguments {
    enum class Command { kNone, kHelp, kStatus, kGet, kSet, kSave, kLoad };

    Command command = Command::kNone;
    bool json = false;
    // get: the controls asked for (none for all); set: the controls set, in order
    std::vector<std::wstring> names;
    Scene changes;      // set
    std::wstring file;  // save, load
    std::wstring error; // what is wrong with the command line, if anything

    static KvctlArguments Parse(const std::vector<std::wstring>& arguments);
};
