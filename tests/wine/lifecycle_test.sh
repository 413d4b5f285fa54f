#!/usr/bin/env bash
# The real Lumetra.exe under Wine (no camera exists there): the country read
# from and written to the real registry, picked through the real popup menu,
# and saved on every way out.
source "$(dirname "$0")/lib/load.sh" "$@"

start_display
new_prefix

# Starts Lumetra with the value as given ("" for none), leaves by Exit and
# checks what it wrote back.
round_trip() { # type, data, expected, description
    country_clear
    [[ -n $2 ]] && country_set "$1" "$2"
    start_lumetra && exit_lumetra
    check "$4" equals "$(country_stored)" "$3"
}
round_trip REG_SZ "" 4 "no key: America (4) is written at exit"
round_trip REG_SZ 7 7 "a stored 7 is kept"
round_trip REG_SZ abc 0 "text that is not a number reads as 0"
round_trip REG_SZ 12 12 "12 is kept although no country has it"
round_trip REG_SZ 0000000009 9 "ten characters are read whole"
round_trip REG_SZ 12345678901 4 "eleven characters fall back to 4"
round_trip REG_BINARY 31320000 12 "a 4-byte binary value is read as text"
round_trip REG_SZ 9999999999 2147483647 "a number beyond an int is clamped"
start_lumetra && exit_lumetra # Lumetra's own ten-digit text, read back
check "a ten-digit value Lumetra wrote survives the next run" equals "$(country_stored)" 2147483647

# Picks a country with the keyboard in the real popup menu, then leaves.
pick_and_exit() { # keys...
    country_clear
    start_lumetra
    pick_country "$@"
    exit_lumetra
}
pick_and_exit Down Down Down Down Down Down Down Down Down
check "the ninth item is Japan (8)" equals "$(country_stored)" 8
pick_and_exit Up
check "the last item is China (9)" equals "$(country_stored)" 9
pick_and_exit Down Down Down Down Down Down Down Down Down Down Down
check "the menu wraps after ten countries" equals "$(country_stored)" 0

# Every way out saves the country.
leave() { # how
    country_clear
    start_lumetra
    leave_by "$1"
    check "leaving by $1 ends the program" probe gone 15
    check "leaving by $1 saves the country" equals "$(country_stored)" 4
}
for how in exit esc closebox enter; do leave $how; done
finish
