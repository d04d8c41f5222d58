// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The pictures built into the program, each a PNG or JPEG file of the resource folder (and the
// airshow's captions, a text file), and a
// table of (id, offset from the table, size in bytes) that findResource searches.
// Offsets rather than addresses keep the table free of relocations.

    .macro RESOURCE id, file
    .section .rodata.skarnwing_resources, "a"
    .balign 16
resource_\id\()_start:
    .incbin "\file"
resource_\id\()_end:
    .section .rodata.skarnwing_resource_table, "a"
    .long \id, 0
    .quad resource_\id\()_start - skarnwing_resource_table, resource_\id\()_end - resource_\id\()_start
    .endm

    .section .rodata.skarnwing_resource_table, "a"
    .balign 8
    .globl skarnwing_resource_table
skarnwing_resource_table:
    RESOURCE 1, "1.png"
    RESOURCE 2, "2.png"
    RESOURCE 3, "3.png"
    RESOURCE 4, "4.png"
    RESOURCE 5, "5.png"
    RESOURCE 6, "6.png"
    RESOURCE 7, "7.png"
    RESOURCE 8, "8.png"
    RESOURCE 9, "9.png"
    RESOURCE 10, "10.png"
    RESOURCE 11, "11.jpg"
    RESOURCE 12, "12.png"
    RESOURCE 13, "13.png"
    RESOURCE 14, "14.png"
    RESOURCE 15, "15.png"
    RESOURCE 16, "16.png"
    RESOURCE 17, "17.png"
    RESOURCE 18, "18.png"
    RESOURCE 20, "20.jpg"
    RESOURCE 21, "21.jpg"
    RESOURCE 22, "22.jpg"
    RESOURCE 24, "24.jpg"
    RESOURCE 25, "25.jpg"
    RESOURCE 26, "26.png"
    RESOURCE 27, "27.png"
    RESOURCE 28, "28.png"
    RESOURCE 31, "31.png"
    RESOURCE 34, "34.jpg"
    RESOURCE 37, "37.png"
    RESOURCE 40, "40.png"
    RESOURCE 41, "41.png"
    RESOURCE 42, "42.png"
    RESOURCE 43, "43.txt"
    .section .rodata.skarnwing_resource_table, "a"
    .globl skarnwing_resource_table_end
skarnwing_resource_table_end:

    .section .note.GNU-stack, "", @progbits
