#!/usr/bin/env bash
# Builds the BER decoder natively with libFuzzer and the sanitizers and fuzzes it for a bounded
# time, starting from a few real answers. Falls back to a plain g++ harness over random inputs
# where clang's libFuzzer is missing.
# Usage: run_fuzz.sh SOURCE_DIR WORK_DIR [seconds]
set -euo pipefail
src=$1
work=$2
seconds=${3:-20}
mkdir -p "$work/corpus"
# Seeds: a GetResponse with a text, one with an integer, one with noSuchInstance.
printf '\x30\x1c\x02\x01\x00\x04\x06public\xa2\x0f\x02\x01\x01\x02\x01\x00\x02\x01\x00\x30\x04\x30\x02\x06\x00' >"$work/corpus/short"
printf '\x30\x26\x02\x01\x00\x04\x06public\xa2\x19\x02\x04\x00\x00\x10\x01\x02\x01\x00\x02\x01\x00\x30\x0b\x30\x09\x06\x03\x2b\x06\x01\x04\x02HP' >"$work/corpus/text"
printf '\x30\x81\x25\x02\x01\x00\x04\x06public\xa2\x18\x02\x04\x00\x00\x10\x01\x02\x01\x00\x02\x01\x00\x30\x0a\x30\x08\x06\x03\x2b\x06\x01\x81\x00' >"$work/corpus/exception"
if clang++ -std=c++17 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I"$src" \
     "$src/tests/net/fuzz/ber_fuzz.cpp" "$src/net/ber.cpp" -o "$work/ber_fuzz" 2>"$work/build.log"; then
  exec "$work/ber_fuzz" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=1024 -print_final_stats=1 "$work/corpus"
fi
echo "libFuzzer not available ($(head -1 "$work/build.log")); using the plain harness"
cat >"$work/plain_main.cpp" <<'CPP'
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
int main(int argc, char** argv) {
    int seconds = argc > 1 ? atoi(argv[1]) : 20;
    time_t end = time(nullptr) + seconds;
    uint8_t buf[2000];
    unsigned long runs = 0;
    srand(12345);
    while (time(nullptr) < end) {
        size_t n = (size_t)(rand() % 300);
        for (size_t i = 0; i < n; i++) buf[i] = (uint8_t)rand();
        if (n > 2 && rand() % 2) { buf[0] = 0x30; buf[1] = (uint8_t)(n - 2); }
        LLVMFuzzerTestOneInput(buf, n);
        runs++;
    }
    printf("%lu runs, no fault\n", runs);
    return 0;
}
CPP
g++ -std=c++17 -O1 -g -fsanitize=address,undefined -I"$src" "$src/tests/net/fuzz/ber_fuzz.cpp" "$src/net/ber.cpp" \
  "$work/plain_main.cpp" -o "$work/ber_plain"
exec "$work/ber_plain" "$seconds"
