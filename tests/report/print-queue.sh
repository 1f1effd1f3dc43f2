# Sourced by scripts/test.sh: a private CUPS server with two PDF queues, WmxPdf the default
# printer, for the report's printing tests. Everything lives under $WMX_BUILD/cups; the machine's
# own CUPS server and settings are not touched. Wine must start after it to see the queues.
#   start_print_queue   starts it and exports CUPS_SERVER and WMX_PDF_DIR (where each PDF appears
#                       once it is complete)
#   stop_print_queue    stops it

start_print_queue() {
    local base="$WMX_BUILD/cups"
    rm -rf "$base"
    mkdir -p "$base"/{etc,spool/tmp,cache,state,log,run,pdf,pdf-writing,pdf-spool}
    chmod 0755 "$base" "$base"/{etc,run}
    chmod 1777 "$base"/pdf-spool

    cat >"$base/cups-files.conf" <<CONF
ServerRoot $base/etc
RequestRoot $base/spool
TempDir $base/spool/tmp
CacheDir $base/cache
StateDir $base/state
ErrorLog $base/log/error_log
AccessLog $base/log/access_log
PageLog $base/log/page_log
SystemGroup root
Sandboxing Relaxed
CONF
    cat >"$base/cupsd.conf" <<CONF
LogLevel warn
Listen $base/run/cups.sock
Browsing No
WebInterface No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
    # The PDF writer fills its file in place; once done, each PDF is moved whole into the folder
    # the tests watch, so that a PDF found there can be read. The job number in every file's
    # name keeps one from replacing another there.
    cat >"$base/pdf-done.sh" <<SCRIPT
#!/bin/sh
exec mv -- "\$1" "$base/pdf/"
SCRIPT
    chmod 0755 "$base/pdf-done.sh"
    # The PDF writer reads its settings from one fixed system path only; the server runs in a
    # mount namespace of its own in which that path shows our settings instead.
    cat >"$base/cups-pdf.conf" <<CONF
Out $base/pdf-writing
AnonDirName $base/pdf-writing
Spool $base/pdf-spool
PostProcessing $base/pdf-done.sh
Label 2
Grp root
Log $base/log
CONF
    export CUPS_SERVER="$base/run/cups.sock"
    export WMX_PDF_DIR="$base/pdf"
    unshare --mount --propagation private -- sh -c \
        'mount --bind "$1" /etc/cups/cups-pdf.conf && exec cupsd -f -c "$2" -s "$3"' \
        sh "$base/cups-pdf.conf" "$base/cupsd.conf" "$base/cups-files.conf" \
        </dev/null >"$base/log/cupsd.out" 2>&1 &
    print_queue_pid=$!
    for _ in $(seq 100); do
        lpstat -r 2>/dev/null | grep -q "is running" && break
        kill -0 "$print_queue_pid" 2>/dev/null || break
        sleep 0.1
    done
    if ! lpstat -r 2>/dev/null | grep -q "is running"; then
        echo "print queue: the private CUPS server did not start:" >&2
        cat "$base/log/cupsd.out" "$base/log/error_log" >&2 2>/dev/null || true
        stop_print_queue
        return 1
    fi
    # lpadmin warns that printer drivers are deprecated; the warning goes to the log.
    lpadmin -p WmxPdf -E -v cups-pdf:/ -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd 2>>"$base/log/cupsd.out"
    lpadmin -d WmxPdf
    # A second queue to choose in the printer dialogs.
    lpadmin -p WmxPdf2 -E -v cups-pdf:/ -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd 2>>"$base/log/cupsd.out"
}

stop_print_queue() {
    [ -n "${print_queue_pid:-}" ] || return 0
    kill "$print_queue_pid" 2>/dev/null || true
    wait "$print_queue_pid" 2>/dev/null || true
    print_queue_pid=
}
