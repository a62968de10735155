#!/usr/bin/env bash
# Exits 0 when this machine can run 32-bit x86 programs, 1 when it cannot: some kernels are
# built or started without 32-bit support, and there Wine's 32-bit half (wine32:i386), and
# with it every 32-bit Windows program (the 32-bit build, the NSIS installers), cannot run.
# The probe is the smallest 32-bit Linux program: it only exits with code 0.
set -u
probe=$(mktemp "${TMPDIR:-/tmp}/fudemaru-i386-probe.XXXXXX") || exit 1
trap 'rm -f "$probe"' EXIT
# ELF header, one loadable segment at 0x08048000, and: mov eax, 1; xor ebx, ebx; int 0x80.
printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >"$probe"
chmod +x "$probe"
"$probe" 2>/dev/null || exit 1
