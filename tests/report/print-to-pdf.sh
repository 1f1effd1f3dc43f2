#!/usr/bin/env bash
# End-to-end print: the report goes through the real print dialog, Wine's printer driver and the
# private CUPS queue (tests/report/print-queue.sh, started by scripts/test.sh before Wine) into a
# PDF, which is rendered at the form's own 150 pixels per inch and compared with the report image
# composed on the prefix's own 96-dpi screen. How the report is printed:
#   (nothing)   plainly
#   DPI         on a screen of that resolution (at-screen-dpi.sh)
#   gone        on a queue of its own chosen in Print Setup and deleted (from CUPS and from the
#               system's printers) before printing: the print dialog must offer the default
#               printer, where the page then arrives
# Usage: print-to-pdf.sh <report_print_probe.exe> <protokol.bmp> [DPI | gone]
set -euo pipefail
probe="$1"
form="$2"
how="${3:-}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
source "$root/scripts/env.sh"
: "${CUPS_SERVER:?needs the private print queue: run through scripts/test.sh}"
: "${WMX_PDF_DIR:?needs the private print queue: run through scripts/test.sh}"

work="$(mktemp -d "$WMX_BUILD/report-print.XXXXXX")"
trap 'rm -rf "$work"' EXIT
cp "$form" "$work/protokol.bmp"
cd "$work"
ls "$WMX_PDF_DIR" >before.txt

print_on_gone_printer() {
    local queue=WmxPdfGone line
    lpadmin -p "$queue" -E -v cups-pdf:/ -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null
    coproc PROBE { wine "$probe" gone "$queue"; }
    local pid="$PROBE_PID" out="${PROBE[0]}" in="${PROBE[1]}"
    read -r line <&"$out" || true
    lpadmin -x "$queue"
    if [ "${line%$'\r'}" != chosen ]; then
        echo "the probe did not choose $queue in Print Setup"
        exec {in}>&-
        wait "$pid" || true
        return 1
    fi
    wine "$probe" remove "$queue"
    echo "$queue deleted" >&"$in"
    cat <&"$out"
    wait "$pid"
}

case "$how" in
"") wine "$probe" print ;;
gone) print_on_gone_printer ;;
*) "$root/tests/report/at-screen-dpi.sh" "$how" "$probe" print ;;
esac

# The job is finished when the queue is empty and the writer has left its PDF.
pdf=
for _ in $(seq 300); do
    if [ -z "$(lpstat -o WmxPdf 2>/dev/null)" ]; then
        pdf="$(ls "$WMX_PDF_DIR" | grep -vxF -f before.txt | grep '\.pdf$' | head -n1 || true)"
        [ -n "$pdf" ] && break
    fi
    sleep 0.1
done
[ -n "$pdf" ] || { echo "no PDF arrived in $WMX_PDF_DIR"; exit 1; }
pdf="$WMX_PDF_DIR/$pdf"
trap 'rm -rf "$work" "$pdf"' EXIT

pages="$(pdfinfo "$pdf" 2>/dev/null | awk '/^Pages:/ {print $2}')"
[ "$pages" = 1 ] || { echo "the PDF has ${pages:-no} pages, not 1"; exit 1; }
# The job's title, as the queue shows it, names the program and the vehicle.
title="$(pdfinfo "$pdf" 2>/dev/null | sed -n 's/^Title: *//p')"
[ "$title" = "Kavra Tintra WX 12345" ] || { echo "the job's title is '$title'"; exit 1; }
pdftoppm -r 150 -gray -singlefile "$pdf" page 2>/dev/null
wine "$probe" check page.pgm
