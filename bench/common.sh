# Shared by the start-up benchmarks (sourced): their X server, one probed run, and statistics
# over the probe's result lines ("key=value ..."), one file per program in $work.

start_xvfb() {  # sets xvfb_pid and DISPLAY; a black root, so a mapped but unpainted window reads black
  mkfifo "$work/displayfd"
  Xvfb -displayfd 3 -br -screen 0 1280x1024x24 -nolisten tcp 3>"$work/displayfd" >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  read -r display <"$work/displayfd"
  export DISPLAY=":$display"
}

measure() {  # name, probe options, program...
  local name="$1" opts="$2"
  shift 2
  for _ in 1 2 3; do  # a run that could not reach the display is repeated
    # shellcheck disable=SC2086
    if out="$("$probe" $opts -- "$@")"; then
      echo "$out" >>"$work/$name"
      return
    fi
  done
  echo "$name: no window" >&2
  exit 1
}

column() {  # file, key: the values of that key, sorted
  sed -E "s/.*\b$2=([-0-9.]+).*/\1/" "$work/$1" | sort -g
}
stat_line() {  # file, key: median p90 max
  column "$1" "$2" | awk '{v[NR]=$1} END{m=int((NR+1)/2); p=int(NR*0.9+0.5); if(p<1)p=1; printf "%9.1f %9.1f %9.1f", v[m], v[p], v[NR]}'
}
median() { column "$1" "$2" | awk '{v[NR]=$1} END{print v[int((NR+1)/2)]}'; }
