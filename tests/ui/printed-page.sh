#!/bin/sh
# Takes a PDF of the private print queue apart for a test on the Windows side: the images it
# holds, pixel for pixel as the printer got them (the queue's PDF writer keeps images lossless),
# as <pdf>-000.ppm and on, and the page's content, which places them on the page, as
# <pdf>.content. Then <pdf>.status, 0 when all went well, is renamed into place whole: the test
# that starts this gets no process to wait for from Wine, and waits for that file instead.
#   printed-page.sh <pdf>
pdf="$1"
status=0
pdfimages "$pdf" "$pdf" || status=$?
for object in $(qpdf --show-pages "$pdf" | sed -n 's/^    \([0-9]*\) 0 R$/\1/p'); do
    qpdf --show-object="$object" --filtered-stream-data "$pdf" || status=$?
done >"$pdf.content"
echo "$status" >"$pdf.status.part"
mv -- "$pdf.status.part" "$pdf.status"
