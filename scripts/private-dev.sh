#!/usr/bin/env bash
# Runs a command (as root) in a private mount namespace whose /dev holds only what a desktop program
# needs: no serial devices at all, so that the program's probe of every port name never reaches the
# machine's own ports; or, with MARTOOL_TTY set, one pseudo-terminal linked there as /dev/ttyUSB0.
# MARTOOL_SETUP, when set, is a shell snippet run in the namespace before the command.
#   [MARTOOL_TTY=/dev/pts/N] [MARTOOL_SETUP='...'] scripts/private-dev.sh command [args...]
set -e
exec unshare -m bash -c '
    set -e
    mount --make-rprivate /
    old=$(mktemp -d)
    mount --rbind /dev "$old" # with its devpts, where a pseudo-terminal lives
    mount -t tmpfs -o mode=755 tmpfs /dev
    for n in null zero full random urandom tty ptmx; do touch /dev/$n; mount --bind "$old/$n" /dev/$n; done
    mkdir /dev/pts /dev/shm
    mount --bind "$old/pts" /dev/pts
    mount -t tmpfs tmpfs /dev/shm
    umount -l "$old"
    if [ -n "${MARTOOL_TTY:-}" ]; then ln -s "$MARTOOL_TTY" /dev/ttyUSB0; fi
    if [ -n "${MARTOOL_SETUP:-}" ]; then eval "$MARTOOL_SETUP"; fi
    exec "$@"' private-dev "$@"
