#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qb {

// Where the editor and its companion program meet: a local socket name per topic and
// user, given to Qt's QLocalServer and QLocalSocket. On Linux that is a Unix socket in a
// folder only the user can enter; on Windows a named pipe (\\.\pipe\<name>), which has no
// folder, so there the other end's user is checked once connected instead.

// The name for a topic: "quillbay-" + the topic with spaces as "_" and "|" as ".", + "-"
// + the user's name (+ "-" + $QUILLBAY_LINK_NAMESPACE when set); on Linux inside the
// private folder. The user is the process's own as the system knows it, whatever the
// environment says. Empty when there is no private folder (one of that name belongs to
// someone else or is open to others). UTF-8.
std::string localLinkName(std::string_view topic);

// Why a link name cannot be used, or empty when it can: no private folder, or a file at
// the name that belongs to another user or is no socket.
std::string localLinkProblem(const std::string& name);

// Whether the process at the other end of a connected link runs as this process's user.
// `handle` is what QLocalSocket::socketDescriptor() gives: a Unix socket's descriptor, or
// on Windows the pipe's handle. False when it cannot be told.
bool localLinkPeerIsSameUser(std::intptr_t handle);

} // namespace qb
