# Sourced: window_picture FILE waits (at most 30 s) for the main window on $DISPLAY, then for the
# clock's first tick, and saves a picture of the corner of the screen where the window opens.
window_picture() {
    for _ in $(seq 150); do
        xwininfo -root -tree 2>/dev/null | grep -q '"Kavra Tintra"' && break
        sleep 0.2
    done
    sleep 1
    import -window root -crop 800x460+0+0 "$1"
}
