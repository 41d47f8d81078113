// Includes the host program's compiled resource file; ND_HOST_RES_FILE is its quoted path.
    .section .rodata.nd_host_res, "a"
    .balign 16
    .globl nd_host_res_begin
    .hidden nd_host_res_begin
    .type nd_host_res_begin, @object
nd_host_res_begin:
    .incbin ND_HOST_RES_FILE
    .globl nd_host_res_end
    .hidden nd_host_res_end
nd_host_res_end:
    .size nd_host_res_begin, nd_host_res_end - nd_host_res_begin

    .section .note.GNU-stack, "", @progbits
