#!/bin/sh
# Seeds: version-list replies as the update script writes them.
mkdir -p "$1"
printf '12,1,2007-2-1,New build\r\n11,0,2006-12-24,Older\r\n' > "$1/list"
printf ' 12 , 1 , 2007-2-1 , New build \n' > "$1/blanks"
printf '5,,2007-2-1,x\nabc,1,2007-2-1,x\n' > "$1/malformed"
