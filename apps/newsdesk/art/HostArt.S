// Includes the compiled picture resources; ND_HOST_ART_FILE is its quoted path.
    .section .rodata.nd_host_art, "a"
    .balign 16
    .globl nd_host_art_begin
    .hidden nd_host_art_begin
    .type nd_host_art_begin, @object
nd_host_art_begin:
    .incbin ND_HOST_ART_FILE
    .globl nd_host_art_end
    .hidden nd_host_art_end
nd_host_art_end:
    .size nd_host_art_begin, nd_host_art_end - nd_host_art_begin

    .section .note.GNU-stack, "", @progbits
