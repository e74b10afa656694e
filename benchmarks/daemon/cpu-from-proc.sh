#!/bin/sh
# Wine gives no CPU times of other processes, so under Wine the daemon
# benchmark's own CPU lines read 0. This runs the benchmark and reads the
# CPU time of its daemon (the VellmoranD.exe processes in daemon-benchmark\)
# from /proc over each of its measuring windows: the user and system time of
# all their threads, not the wineserver's work on their behalf.
# Usage: cpu-from-proc.sh WINE-RUN-COMMAND... (the benchmark and its arguments)
# "pid:ticks" for each daemon process.
ticks() {
    for pid in $(pgrep -f 'daemon-benchmark.VellmoranD\.exe'); do
        # utime and stime, fields 14 and 15 after the name in parentheses
        set -- $(sed 's/.*) //' "/proc/$pid/stat" 2>/dev/null) 0 0 0 0 0 0 0 0 0 0 0 0 0
        echo "$pid:$((${12} + ${13}))"
    done
}

# The ticks used between two readings: a process that ended in between is
# left out (its last ticks are unknown), one that started counts whole.
used() {
    total=0
    for now in $2; do
        then=$(echo "$1" | tr ' ' '\n' | grep "^${now%%:*}:" | cut -d: -f2)
        total=$((total + ${now#*:} - ${then:-0}))
    done
    echo "$total"
}

"$@" | while IFS= read -r line; do
    echo "$line"
    case "$line" in
    *": measuring for "*)
        before=$(ticks)
        began=$(date +%s.%N) ;;
    *": done measuring"*)
        after=$(ticks)
        ended=$(date +%s.%N)
        echo "  from /proc: $(echo "scale=4; 100 * $(used "$before" "$after") / $(getconf CLK_TCK) / ($ended - $began)" | bc) % of one core, processes before: $(echo $before), after: $(echo $after)" ;;
    esac
done
