// File names given as file:// URLs, as some launchers and file managers pass
// them on a command line.
#pragma once

#include <string>

// The local file a command-line argument names. An argument whose scheme is
// "file" (in any case) is a URL: "file:///path" and "file://localhost/path"
// give "/path", as does "file:/path"; "%XX" escapes are decoded to their bytes
// (an escape that is not two hex digits stays as it is) and a "?" or "#"
// ends the path. A URL naming another host ("file://server/path"), or no
// absolute path at all ("file:", "file://", "file:name"), names no local file
// and gives "", which no file goes by. Any other argument is a file name
// already and is returned unchanged.
std::string localFileOfArgument(const std::string& argument);
