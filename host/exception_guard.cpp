// The structured-exception frame around a run mode. The frame and its
// landing are written in assembly so that the registers and the stack at
// the landing are known exactly; the compiler cannot be told that control
// may arrive in the middle of a function.
#include "host/run_mode.h"
#include "host/saver_host.h"

extern "C" {
int guardedCall(GuardedMode mode, const char *text);
EXCEPTION_DISPOSITION guardFrameHandler(EXCEPTION_RECORD *record, void *frame, CONTEXT *context,
                                        void *dispatch);
void guardCaught();
#if defined(__x86_64__)
void guardLanding();
#else
[[noreturn]] void guardResume(void *frame);
#endif
}

#if defined(__x86_64__)
// Table-based frame: the unwind data names guardFrameHandler. The nop keeps
// the return address of the call out of the epilogue, where the unwinder
// would not consult the handler.
asm(R"(
    .text
    .globl guardedCall
    .def guardedCall; .scl 2; .type 32; .endef
    .seh_proc guardedCall
guardedCall:
    pushq %rbp
    .seh_pushreg %rbp
    movq %rsp, %rbp
    .seh_setframe %rbp, 0
    subq $32, %rsp
    .seh_stackalloc 32
    .seh_endprologue
    .seh_handler guardFrameHandler, @except
    movq %rcx, %rax
    movq %rdx, %rcx
    callq *%rax
    nop
guardLeave:
    addq $32, %rsp
    popq %rbp
    retq
    .globl guardLanding
guardLanding:
    leaq -32(%rbp), %rsp
    callq guardCaught
    movl $-1, %eax
    jmp guardLeave
    .seh_endproc
)");
#elif defined(__i386__)
// Registration record on the stack, linked in at fs:[0]: previous record,
// then the handler; it lies 20 bytes below the frame pointer, under the
// three saved registers that the landing restores.
asm(R"(
    .text
    .globl _guardedCall
    .def _guardedCall; .scl 2; .type 32; .endef
_guardedCall:
    pushl %ebp
    movl %esp, %ebp
    pushl %ebx
    pushl %esi
    pushl %edi
    pushl $_guardFrameHandler
    pushl %fs:0
    movl %esp, %fs:0
    pushl 12(%ebp)
    calll *8(%ebp)
    addl $4, %esp
guardUnlink:
    movl (%esp), %ecx
    movl %ecx, %fs:0
    addl $8, %esp
    popl %edi
    popl %esi
    popl %ebx
    popl %ebp
    retl

    .globl _guardResume
    .def _guardResume; .scl 2; .type 32; .endef
_guardResume:
    movl 4(%esp), %eax
    leal 20(%eax), %ebp
    movl %eax, %esp
    subl $12, %esp
    calll _guardCaught
    addl $12, %esp
    movl $-1, %eax
    jmp guardUnlink
)");
#else
#error "the exception guard needs an x86 or x86-64 frame"
#endif

EXCEPTION_DISPOSITION guardFrameHandler(EXCEPTION_RECORD *record, void *frame, CONTEXT *context,
                                        void *dispatch) {
    if (IS_UNWINDING(record->ExceptionFlags)) return ExceptionContinueSearch;
    // The system's standard handling of an unhandled exception decides:
    // error report, debugger, or a filter the process has set.
    EXCEPTION_POINTERS pointers = {record, context};
    LONG answer = UnhandledExceptionFilter(&pointers);
    if (answer == EXCEPTION_CONTINUE_EXECUTION) return ExceptionContinueExecution;
    if (answer != EXCEPTION_EXECUTE_HANDLER) return ExceptionContinueSearch;
#if defined(__x86_64__)
    DISPATCHER_CONTEXT *dispatcher = static_cast<DISPATCHER_CONTEXT *>(dispatch);
    RtlUnwindEx(frame, reinterpret_cast<void *>(guardLanding), record, NULL, dispatcher->ContextRecord,
                dispatcher->HistoryTable);
    __builtin_unreachable();
#else
    (void)dispatch;
    RtlUnwind(frame, NULL, record, NULL);
    guardResume(frame);
#endif
}

// The handler proper, run once the frames inside the guard are unwound.
void guardCaught() {
    setSaverRunning(false);
}

int runGuarded(GuardedMode mode, const char *text) {
    return guardedCall(mode, text);
}
