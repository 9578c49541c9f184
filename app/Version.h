// The program's version, defined once for the version resource and the About text.
// Plain #defines only: windres reads this file too.
#ifndef TORVAN_APP_VERSION_H
#define TORVAN_APP_VERSION_H

#define TORVAN_VERSION_MAJOR 1
#define TORVAN_VERSION_MINOR 0
#define TORVAN_VERSION_PATCH 0
#define TORVAN_VERSION_BUILD 6

#define TORVAN_STRINGIZE_(x) #x
#define TORVAN_STRINGIZE(x) TORVAN_STRINGIZE_(x)

// clang-format off
// "1.0.0.6": the form the About text shows.
#define TORVAN_VERSION_STRING                                                                  \
    TORVAN_STRINGIZE(TORVAN_VERSION_MAJOR) "." TORVAN_STRINGIZE(TORVAN_VERSION_MINOR) "."     \
    TORVAN_STRINGIZE(TORVAN_VERSION_PATCH) "." TORVAN_STRINGIZE(TORVAN_VERSION_BUILD)

// "1, 0, 0, 6": the form of the version resource's FileVersion and ProductVersion strings.
#define TORVAN_VERSION_RC_STRING                                                               \
    TORVAN_STRINGIZE(TORVAN_VERSION_MAJOR) ", " TORVAN_STRINGIZE(TORVAN_VERSION_MINOR) ", "   \
    TORVAN_STRINGIZE(TORVAN_VERSION_PATCH) ", " TORVAN_STRINGIZE(TORVAN_VERSION_BUILD)
// clang-format on

#endif
