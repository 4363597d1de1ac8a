#!/bin/sh
# The AVX2 and AVX-512 kernel objects inside the engine library may define only
# their own entry points. Any other global or weak definition (an inline
# function the compiler kept out of line) would be AVX code under a name the
# baseline code shares, and the linker could hand it to a processor without AVX.
archive="$1"
bad=$(nm -C --defined-only -A "$archive" 2>/dev/null \
  | grep -E 'KernelAvx(2|512)\.cpp\.o:' \
  | awk '$2 !~ /^[trdbsn]$/' \
  | grep -vE ' T (renderChunkAvx(2|512)|compiledForAvx(2|512))\(')
count=$(nm -C --defined-only -A "$archive" | grep -cE 'KernelAvx(2|512)\.cpp\.o:.* T renderChunkAvx')
if [ "$count" -ne 2 ]; then
  echo "kernel objects not found in $archive"
  exit 1
fi
if [ -n "$bad" ]; then
  echo "kernel objects define shared symbols:"
  echo "$bad"
  exit 1
fi
echo "kernel objects define only their entry points"
