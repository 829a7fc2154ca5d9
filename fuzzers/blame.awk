# SPDX-License-Identifier: GPL-3.0-or-later
# Reads what a fuzz target printed when it replayed one kept input and prints one line:
#   none                    the input no longer causes a report
#   freexl <kind> <where>   the first frame past the sanitizer, libFuzzer and C library frames
#                           lies in FreeXL (<where> is its module and offset, FreeXL being
#                           stripped)
#   orcus <kind> <where>    the same, in liborcus's libraries (its zip reader, the part of its
#                           XML parser that is not a template compiled into our code)
#   ours <kind> <where>     anywhere else: our code, or Qt called by our code
# A report whose stack cannot be read counts as ours, so that nothing slips through.

function kind_of(line) {
    if (line ~ /detected memory leaks/)
        return "LeakSanitizer:memory-leak"
    if (line ~ /runtime error:/)
        return "UndefinedBehaviorSanitizer:runtime-error"
    if (line ~ /Kelsa fuzz check failed/)
        return "Kelsa:check-failed"
    if (match(line, /(AddressSanitizer|LeakSanitizer|libFuzzer): [a-zA-Z-]+/)) {
        k = substr(line, RSTART, RLENGTH)
        sub(/: /, ":", k)
        return k
    }
    return "report"
}

# The first report line names the kind; a check failure is followed by libFuzzer's own
# "deadly signal" report, whose stack is the one to read.
kind == "" && /ERROR: |runtime error:|leak of [0-9]+ byte/ {
    kind = kind_of($0)
    started = 1
    next
}

started && !done && /^ *#[0-9]+ 0x/ {
    frame = $0
    sub(/^ *#[0-9]+ 0x[0-9a-f]+ +/, "", frame)
    sub(/ \(BuildId: [0-9a-f]+\)$/, "", frame)
    name = ""
    if (frame ~ /^in /) {
        name = frame
        sub(/^in /, "", name)
    }
    if (name ~ /^(__interceptor_|__asan|__sanitizer|__lsan|__ubsan|fuzzer::|__libc_|__GI_|__pthread_kill|raise|abort|_start|malloc|calloc|realloc|free|operator new|operator delete)/)
        next
    if (frame ~ /\((\/[^ ]*\/)?(libc\.so|libm\.so|ld-linux|libstdc\+\+\.so)[^ ]*\)$/)
        next
    if (frame ~ /^in [^ ]+ (nptl|signal|stdlib|csu|string|iconv|debug)\//)
        next
    done = 1
    if (frame ~ /libfreexl\.so/) {
        sub(/^.*\(/, "", frame)
        sub(/\).*$/, "", frame)
        sub(/^.*\//, "", frame)
        print "freexl", kind, frame
    } else if (frame ~ /liborcus[-a-z]*-0\.17\.so/) {
        where = frame
        sub(/^.*\(/, "", where)
        sub(/\).*$/, "", where)
        sub(/^.*\//, "", where)
        print "orcus", kind, (name == "" ? where : name " " where)
    } else {
        # The function without its parameters, and the source line or module.
        function_name = name
        gsub(/\(anonymous namespace\)::/, "", function_name)
        sub(/\(.*$/, "", function_name)
        n = split(frame, words, " ")
        print "ours", kind, (function_name == "" ? "?" : function_name), words[n]
    }
}

END {
    if (!done)
        print(kind == "" ? "none" : "ours " kind " (no stack)")
}
