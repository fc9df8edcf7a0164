# Whether this machine runs 32-bit x86 programs, which the i686 build and
# the 32-bit Wine loader need. A 64-bit kernel may be built without them:
# every 32-bit program then fails with "Exec format error", whatever is
# installed. Neither the kernel's name nor the machine type tells; running
# one does. Sourced by scripts/install-build-tools.sh, scripts/run-tests.sh
# and scripts/lib/wine-machine.sh, so that all three take the same answer.
#
#   runs_32_bit_programs   true when a tiny static 32-bit program runs and
#                          exits with 42; otherwise false, with
#                          refused_32_bit_reason saying why

refused_32_bit_reason=

# The smallest static i386 Linux program (96 bytes): the ELF header, one
# loadable segment holding the whole file at 0x08048000, and the code at
# its end, 0x08048054: mov eax, 1 (exit); mov ebx, 42; int 0x80. Written by
# bash's own printf, since a fresh machine may have no python or assembler.
write_32_bit_probe() {
  # e_ident: ELF, 32-bit, little-endian, version 1, System V.
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'
  # Executable, i386, version 1, entry, program headers at 52, no sections,
  # no flags, header 52 bytes, one program header of 32 bytes.
  printf '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00'
  printf '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00'
  # PT_LOAD: offset 0, at 0x08048000, 96 bytes in the file and in memory,
  # readable and executable, 4 KiB aligned.
  printf '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08'
  printf '\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'
  printf '\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80'
}

runs_32_bit_programs() {
  local folder status=0 error
  refused_32_bit_reason=
  folder=$(mktemp -d) || { refused_32_bit_reason="no temporary folder for the 32-bit probe"; return 1; }
  write_32_bit_probe >"$folder/probe"
  chmod +x "$folder/probe"
  "$folder/probe" 2>"$folder/error" || status=$?
  error=$(tr '\n' ' ' <"$folder/error")
  rm -rf "$folder"
  [[ $status -eq 42 ]] && return 0
  if [[ $error == *"Exec format error"* ]]; then
    refused_32_bit_reason="this kernel does not run 32-bit programs"
  else
    refused_32_bit_reason="a tiny 32-bit program did not run here (exit status $status${error:+: $error})"
  fi
  return 1
}
