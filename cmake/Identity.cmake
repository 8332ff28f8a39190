# Who makes Pelora and how the desktop knows it: shared by the install rules,
# the Debian package and the Windows version record.

set(PELORA_APP_ID "io.github.pelora.Pelora")
set(PELORA_MAKER "Pelora developers")
set(PELORA_COPYRIGHT "Copyright (C) 2026 Pelora developers")
set(PELORA_HOMEPAGE "https://pelora.github.io/")
set(PELORA_RELEASE_DATE "2026-12-07")
set(PELORA_SUMMARY "small MIDI player with a dancing mascot and a playlist")

# Who answers for the Debian package, as "Name <address>": whoever builds a
# package of their own sets it with -DPELORA_MAINTAINER=...
set(PELORA_MAINTAINER "Pelora developers <pelora@users.noreply.github.com>"
    CACHE STRING "the Debian package's maintainer: a name and a mail address in angle brackets")
if(NOT PELORA_MAINTAINER MATCHES "^[^<>@]*[^<>@ ] <[^<>@ ]+@[^<>@ ]+\\.[^<>@ ]+>$")
    message(FATAL_ERROR "PELORA_MAINTAINER must read \"Name <user@example.org>\", not \"${PELORA_MAINTAINER}\"")
endif()

# Generated on every platform; linked only into Windows builds.
set(PELORA_RESOURCE_SCRIPT ${CMAKE_BINARY_DIR}/generated/pelora.rc)
