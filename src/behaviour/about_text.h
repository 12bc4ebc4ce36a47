// What the About window (Form6) says, shared by the windows of every platform so they say the
// same: its caption, the version, a few words on the program, the credits and the notice.
#pragma once

#include "orvane_version.h"

namespace orv {

inline constexpr const char* ABOUT_CAPTION = "About Orvane v" ORVANE_VERSION;
inline constexpr const char* ABOUT_VERSION = "ORVANE VERSION " ORVANE_VERSION;
inline constexpr const char* ABOUT_SUMMARY =
    "Airport charts for Microsoft Flight Simulator 2002, version " ORVANE_VERSION ".";
inline constexpr const char* ABOUT_READS =
    "Orvane reads the scenery installed with your simulator and draws runways, taxiways, gates, "
    "ILS and nearby airspace of any airport it finds.";
inline constexpr const char* ABOUT_THANKS = "Special Thanks To:";
// Paragraphs are separated by an empty line ("\n\n").
inline constexpr const char* ABOUT_CREDITS =
    "The flight simulation community, whose forums, scenery designers and shared knowledge of "
    "the FS2002 world made this program possible.\n\n"
    "The virtual pilots who tested Orvane at their home airports, reported what looked wrong "
    "on their charts and kept asking for one more taxiway name.\n\n"
    "Everyone who keeps FS2002 flying long after its time.";
inline constexpr const char* ABOUT_NOTICE =
    "Copyright (C) The Orvane developers. Free to use for flight simulation; not for "
    "real-world navigation.";

}  // namespace orv
