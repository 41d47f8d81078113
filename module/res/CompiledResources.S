// Includes the compiled resource file; ND_RES_FILE is its quoted path.
    .section .rodata.nd_compiled_res, "a"
    .balign 16
    .globl nd_compiled_res_begin
    .hidden nd_compiled_res_begin
    .type nd_compiled_res_begin, @object
nd_compiled_res_begin:
    .incbin ND_RES_FILE
    .globl nd_compiled_res_end
    .hidden nd_compiled_res_end
nd_compiled_res_end:
    .size nd_compiled_res_begin, nd_compiled_res_end - nd_compiled_res_begin

    .section .note.GNU-stack, "", @progbits
