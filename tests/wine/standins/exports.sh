#!/usr/bin/env bash
# Writes a stand-in's module definition from the export table of the Wine
# DLL it replaces, so that it exports what Wine's exports, under Wine's
# ordinals: the functions given, implemented by the stand-in; Wine's
# forwarders as they are; and Wine's unimplemented stubs as STANDIN_STUB
# lines in the stubs header (standins.h). Fails for any other export, which
# Wine implements in the DLL itself and a stand-in could not pass on.
#   exports.sh OBJDUMP WINE_DLL BITS OUT.def OUT_stubs.h NAME@ARGBYTES...
set -euo pipefail
objdump=$1 dll=$2 bits=$3 def=$4 stubs=$5
shift 5

"$objdump" -p -t "$dll" | awk -v bits="$bits" -v implemented="$*" -v def="$def" -v stubs="$stubs" '
    BEGIN {
        last = -1
        n = split(implemented, list, " ")
        for (i = 1; i <= n; i++) {
            split(list[i], parts, "@")
            own[parts[1]] = bits == 32 ? parts[1] "@" parts[2] : parts[1]
        }
    }
    /^Name[ \t]/ { library = $NF }
    /^Export Address Table --/ { section = "addresses"; next }
    /^\[Ordinal\/Name Pointer\] Table/ { section = "names"; next }
    /^SYMBOL TABLE:/ { section = "symbols"; next }
    /^$/ && section != "symbols" { section = "" }
    section == "addresses" && /\+base\[/ {
        line = $0
        sub(/^[ \t]*\[ */, "", line)
        index_ = line + 0
        sub(/.*\+base\[ */, "", line)
        ordinal[index_] = line + 0
        if (index_ > last) last = index_
        if (match($0, /Forwarder RVA -- /))
            forward[index_] = substr($0, RSTART + RLENGTH)
    }
    section == "names" && /^[ \t]*\[ *[0-9]+\] / {
        line = $0
        sub(/^[ \t]*\[ */, "", line)
        name[line + 0] = $NF
    }
    section == "symbols" && match($NF, /__wine_stub_/) { stub[substr($NF, RSTART + RLENGTH)] = 1 }
    END {
        if (library == "" || length(name) == 0) { print "no export table in the DLL" > "/dev/stderr"; exit 1 }
        print "LIBRARY " library > def
        print "EXPORTS" > def
        printf "" > stubs
        for (i = 0; i <= last; i++) {
            if (!(i in ordinal)) continue
            if (!(i in name)) {
                print library ": ordinal " ordinal[i] " has no name; the stand-in cannot export it" > "/dev/stderr"
                failed = 1
                continue
            }
            export = name[i]
            if (export in own) {
                print "    " export " = " own[export] " @" ordinal[i] > def
                found[export] = 1
            } else if (i in forward) {
                print "    " export " = " forward[i] " @" ordinal[i] > def
            } else if (export in stub) {
                print "    " export " = stub_" export " @" ordinal[i] > def
                print "STANDIN_STUB(\"" library "\", " export ")" > stubs
            } else {
                print library ": Wine implements " export " itself; the stand-in cannot pass it on" > "/dev/stderr"
                failed = 1
            }
        }
        for (export in own) {
            if (!(export in found)) {
                print library ": Wine does not export " export > "/dev/stderr"
                failed = 1
            }
        }
        exit failed
    }'
