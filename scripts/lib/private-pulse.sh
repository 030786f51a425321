# Sourced by the sound checks: a private PulseAudio server whose default sink is the null sink
# "shufflon_check". It has its own runtime folder and home below $work, so that it neither meets
# nor disturbs a desktop's sound server (and so that root may run one). The caller sets $work and
# kills $pulse_pid when it ends; its log goes to $work/pulseaudio.log.

export XDG_RUNTIME_DIR="$work/run" HOME="$work/home"
mkdir -p "$XDG_RUNTIME_DIR" "$HOME"
chmod 700 "$XDG_RUNTIME_DIR"
unset PULSE_SERVER PULSE_SINK
pulse_pid=""

start_private_pulse() { # NAME (the caller's, for its messages)
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --log-target=stderr \
    --load="module-native-protocol-unix auth-anonymous=1" \
    --load="module-null-sink sink_name=shufflon_check" >>"$work/pulseaudio.log" 2>&1 &
  pulse_pid=$!
  for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
  pactl info >/dev/null 2>&1 || { echo "$1: PulseAudio did not start:" >&2; cat "$work/pulseaudio.log" >&2; exit 2; }
  pactl set-default-sink shufflon_check
}
