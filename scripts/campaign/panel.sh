# Sourced by the campaign scripts; needs their run() (Wine in the build's
# prefix) and $build.
# start_connected_panel: starts the real program in the background and waits
# until it holds the simulated interface open; non-zero after 60 s without.
start_connected_panel() {
  run "$build/bin/KorVaneControls.exe" </dev/null >/dev/null 2>&1 &
  for _ in $(seq 1 60); do
    if run "$build/bin/simctl.exe" state 2>/dev/null | tr -d '\r' | grep -q '^# open handles 1'; then
      return 0
    fi
    sleep 1
  done
  return 1
}
