# Statistics over the probe's result lines ("key=value ..."), one file per program in $work.
# Sourced by the start-up benchmarks.
column() {  # file, key: the values of that key, sorted
  sed -E "s/.*\b$2=([-0-9.]+).*/\1/" "$work/$1" | sort -g
}
stat_line() {  # file, key: median p90 max
  column "$1" "$2" | awk '{v[NR]=$1} END{m=int((NR+1)/2); p=int(NR*0.9+0.5); if(p<1)p=1; printf "%9.1f %9.1f %9.1f", v[m], v[p], v[NR]}'
}
median() { column "$1" "$2" | awk '{v[NR]=$1} END{print v[int((NR+1)/2)]}'; }
