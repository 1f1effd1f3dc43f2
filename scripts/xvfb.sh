# Sourced: starts an Xvfb on a display number of its own and exports DISPLAY; stopped on exit.
xvfb_fd=$(mktemp)
Xvfb -displayfd 3 -screen 0 1920x1200x24 -nolisten tcp 3>"$xvfb_fd" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$xvfb_fd" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$xvfb_fd")"
rm -f "$xvfb_fd"
