// The interpreter against the simulated box and service unit on the virtual clock: what the
// technician sees, what goes on the wire, and what the script's variables hold afterwards.
#include "plugins/mbservice/interpreter.h"

#include "plugins/mbservice/script_run.h"
#include "plugins/mbservice/script_test_rig.h"

namespace corvan::mbservice::testing {
namespace {

using Strings = std::vector<std::string>;
using Interpreter = ScriptRig;

TEST_F(Interpreter, WithoutTheMarkNothingRunsAndNothingIsSent) {
    const std::string noMark =
        "<MNU\r\n\tDLL=\t[MBSERVICE.DLL]\r\n{\r\nSND(3101);OUTPUT(\"x\");\r\n}";
    EXPECT_EQ(runText(noMark), "");
    // The mark only counts at or after the entry's own position.
    const std::string earlier = "#INTERPRETE\r\n" + noMark;
    EXPECT_EQ(runText(earlier), "");
    EXPECT_TRUE(frames.sent.empty());
    EXPECT_TRUE(screen.messageBoxes().empty());
    EXPECT_FALSE(snapshot(kMessageWindowName).everShown);
}

TEST_F(Interpreter, StatementSpellingTraps) {
    // EXIT without parentheses has no name at all.
    run("EXIT;\r\nOUTPUT(\"after\");");
    EXPECT_EQ(boxTexts(), Strings{"Unknown command: EXIT"});
    run("EXIT();\r\nOUTPUT(\"after\");");
    EXPECT_EQ(boxTexts().size(), 1u);
    // A blank before the ";" makes the label "L1) ": not found, the run stops quietly.
    run("JMP(L1) ;\r\nOUTPUT(\"after\");\r\nLABEL(L1);\r\nOUTPUT(\"jumped\");");
    EXPECT_EQ(boxTexts().size(), 1u);
    // Names are upper case; leading digits and blanks are dropped.
    run("exit();");
    EXPECT_EQ(boxTexts().back(), "Unknown command: exit()");
    run("12 OUTPUT(\"shown\");EXIT();");
    EXPECT_EQ(boxTexts().back(), "shown");
    // Running off the script into the rest of the data ends quietly at "ENDDATA".
    const size_t before = boxTexts().size();
    run("OUTPUT(\"last\");\r\n}\r\nENDDATA;\r\nOUTPUT(\"never\");");
    EXPECT_EQ(boxTexts().size(), before + 1);
    EXPECT_TRUE(frames.sent.empty());
}

TEST_F(Interpreter, CounterArithmeticWrapsAndReadsHexOperandsTheTerminalsWay) {
    run("MOV(COUNT,0x5);EXIT();");
    EXPECT_EQ(state.count, 0x50);
    run("MOV(COUNT,0x1f);EXIT();");
    EXPECT_EQ(state.count, 0x10);
    run("MOV(COUNT,255);INC(COUNT);EXIT();");
    EXPECT_EQ(state.count, 0);
    run("MOV(COUNT,0);SUB(COUNT,1);EXIT();");
    EXPECT_EQ(state.count, 255);
    run("DEC(COUNT);DEC(COUNT);ADD(COUNT,300);EXIT();");  // 253 + 300 = 553 = 2 × 256 + 41
    EXPECT_EQ(state.count, 41);
    run("MOV(COUNT,0xF0);AND(COUNT,0x3C);OR(COUNT,0x01);EXIT();");
    EXPECT_EQ(state.count, 0x31);
    run("MOV(COUNT,-1);ADD(RCV,0x10);SUB(RCV,0x20);EXIT();");
    EXPECT_EQ(state.count, 255);
    EXPECT_EQ(state.byteRcv, 0xF0);
    // Wrong first operands stop the run without a word.
    for (const char* wrong : {"MOV(RCV,1)", "INC(RCV)", "DEC( COUNT)", "ADD(CNT,1)", "CMP(X,1)"}) {
        state.count = 9;
        run(std::string(wrong) + ";MOV(COUNT,1);EXIT();");
        EXPECT_EQ(state.count, 9) << wrong;
    }
    EXPECT_TRUE(screen.messageBoxes().empty());
}

TEST_F(Interpreter, CompareAndConditionalJumps) {
    const std::string jumps =
        "JL(LESS);JE(EQUAL);JG(GREATER);EXIT();"
        "LABEL(LESS);OUTPUT(\"less\");EXIT();LABEL(EQUAL);OUTPUT(\"equal\");EXIT();"
        "LABEL(GREATER);OUTPUT(\"greater\");JNE(AGAIN);EXIT();LABEL(AGAIN);OUTPUT(\"not 1\");"
        "EXIT();";
    run("MOV(COUNT,7);CMP(COUNT,5);" + jumps);
    run("MOV(COUNT,5);CMP(COUNT,0x05);" + jumps);
    run("MOV(COUNT,4);CMP(COUNT,5);" + jumps);
    run("MOV(COUNT,255);CMP(COUNT,300);" + jumps);  // whole numbers: 255 < 300
    EXPECT_EQ(boxTexts(), (Strings{"greater", "not 1", "equal", "less", "less"}));
    // COMMSTATUS is 1 until COMMSTATUS says otherwise.
    run("CMP(COMMSTATUS,1);JE(EQUAL);EXIT();LABEL(EQUAL);OUTPUT(\"linked\");EXIT();");
    EXPECT_EQ(boxTexts().back(), "linked");
    // A jump to a missing label ends the run.
    run("MOV(COUNT,1);CMP(COUNT,1);JE(NOWHERE);OUTPUT(\"after\");");
    EXPECT_EQ(boxTexts().back(), "linked");
}

TEST_F(Interpreter, StackHoldsNinetyNineEntriesAndCallReturnsAfterItsStatement) {
    run("MOV(COUNT,0);LABEL(P);PUSH(COUNT);INC(COUNT);CMP(COUNT,100);JL(P);OUTPUT(\"after\");");
    EXPECT_EQ(state.stack.size(), kStackEntries);
    EXPECT_EQ(state.stack.back(), "98");
    EXPECT_TRUE(screen.messageBoxes().empty());  // the 100th PUSH stopped the run
    run("CALL(SUB);OUTPUT(\"never\");");         // full: CALL stops too
    EXPECT_TRUE(screen.messageBoxes().empty());
    state.stack.clear();

    // The subroutine shares the stack with its caller's return position.
    run("MOV(COUNT,3);CASE(0)+CALL(SUB);OUTPUT(\"back\");EXIT();"
        "LABEL(SUB);PUSH(COUNT);MOV(COUNT,9);OUTPUT(\"in sub\");POP(COUNT);RET();");
    EXPECT_EQ(boxTexts(), (Strings{"in sub", "back"}));
    EXPECT_EQ(state.count, 3);
    EXPECT_TRUE(state.stack.empty());
    run("POP(COUNT);OUTPUT(\"never\");");
    run("RET();OUTPUT(\"never\");");
    run("PUSH(RCV);OUTPUT(\"never\");");
    EXPECT_EQ(boxTexts().size(), 2u);
    EXPECT_TRUE(state.stack.empty());
}

TEST_F(Interpreter, CaseFollowsTheChoiceListAndTheQuestion) {
    technician("tap \"THIRD\"\npress \"OK\"\nanswer \"Continue?\" Yes\nanswer \"Again?\" No\n");
    run("COMBO(FIRST\\SECOND\\THIRD\\);CASE(1)+OUTPUT(\"one\");CASE(2)+JMP(X);EXIT();"
        "LABEL(X);OUTPUT(\"row 2\");"
        "QUESTION(\"Continue?\");CASE(1)+OUTPUT(\"yes\");CASE(0)+OUTPUT(\"no\");"
        "QUESTION(\"Again?\");CASE(0)+OUTPUT(\"no\");EXIT();");
    EXPECT_EQ(boxTexts(), (Strings{"row 2", "Continue?", "yes", "Again?", "no"}));
    EXPECT_EQ(screen.messageBoxes()[1].buttons, ui::Buttons::YesNoCancel);
    EXPECT_EQ(state.choice, 0);
    EXPECT_TRUE(screen.report().clean()) << screen.report().text();
    // Cancel in the question, or No in a query, ends the run.
    technician("answer \"Sure?\" Cancel\n");
    run("QUESTION(\"Sure?\");OUTPUT(\"never\");");
    run("QUERY(\"Sure?\");OUTPUT(\"never\");");  // no rule left: the default No
    EXPECT_EQ(boxTexts().back(), "Sure?");
    EXPECT_EQ(screen.messageBoxes().back().buttons, ui::Buttons::YesNo);
    EXPECT_EQ(state.choice, 0);
}

TEST_F(Interpreter, ConditionalsComparingCountSpellTheirVariablesInCapitals) {
    technician("type \"12\" into #1005\npress \"OK\"\n");
    run("INPUT(\"Value?\");MOV(COUNT,12);IFCOUNT(0)+OUTPUT(\"typed csINPUT\");"
        "MOV(COUNT,csINPUT);IFNOTCOUNT(12)+OUTPUT(\"moved\");"
        "ADD(RCV,12);IFCOUNT(0)+OUTPUT(\"rcv cBYTERCV\");IFCOUNT(0)+OUTPUT(\"cByteRcv\");"
        "IFRCV(0x0C)+OUTPUT(cByteRcv);IFNOTRCV(12)+OUTPUT(\"differs\");"
        "OUTPUT(csInput);OUTPUT(COUNT);OUTPUT(\"never\");");
    EXPECT_EQ(boxTexts(), (Strings{"typed csINPUT", "rcv cBYTERCV", "0x0C", "12",
                                   "Comando de visualización incorrecto"}));
    EXPECT_EQ(state.input, "12");
    technician("press \"Cancel\"\n");
    run("INPUT(\"Value?\");OUTPUT(\"never\");");
    EXPECT_EQ(boxTexts().size(), 5u);
    EXPECT_EQ(state.input, "12");
}

TEST_F(Interpreter, ReplyBytesAreFetchedOnlyInsideTheReply) {
    // 1A 80 answers "5A": byte 1 is 2, so position 0 is the last one there is.
    run("SND(1A80);GETRCV(0);OUTPUT(cByteRcv);GETRCV(1);OUTPUT(\"never\");");
    run("SND(1A81);GETRCV(0);OUTPUT(\"never\");");  // an empty answer: byte 1 is 1
    run("SND(1A80);GETRCV(-1);OUTPUT(\"never\");");
    run("SND(1A80);GETRCV(99999999999);OUTPUT(\"never\");");
    const std::string wrong = "Respuesta incorrecta de la UCE o comunicación perdida";
    EXPECT_EQ(boxTexts(), (Strings{"0x5A", wrong, wrong, wrong, wrong}));
    EXPECT_EQ(state.byteRcv, 0x5A);
    EXPECT_EQ(ecuMessages(),
              (std::vector<Bytes>{hex("1A80"), hex("1A81"), hex("1A80"), hex("1A80")}));
}

TEST_F(Interpreter, RequestsOnTheWire) {
    technician("answer \"REINTENTAR\" No\n");
    run("SND(31);SND(310);SETSND(2101);SND(FRAME);MNT(3E);MNT(OFF);LOGOFF();SND();EXIT();");
    ASSERT_EQ(frames.sent.size(), 7u);
    EXPECT_EQ(frames.sent[0], hex("80 02 20 00 31 93"));
    EXPECT_EQ(frames.sent[1], hex("80 03 20 00 31 00 92"));  // the odd digit is a high one
    EXPECT_EQ(frames.sent[2], hex("80 03 20 00 21 01 83"));
    EXPECT_EQ(frames.sent[3], hex("80 02 86 01 3E 3B"));
    EXPECT_EQ(frames.sent[4], hex("80 05 86 00 03 00 09 00 09"));
    EXPECT_EQ(frames.sent[5], hex("80 02 20 00 82 20"));  // "END=" of the configuration
    EXPECT_EQ(frames.sent[6], hex("80 00 20 A0"));
    EXPECT_TRUE(box->keepAliveMessage() == hex("3E") && !box->keepAliveOn());
    // The empty message got the box's "no ECU answer": a reply all the same, the run went on.
    EXPECT_EQ(state.received[2], 0x0A);
    // The retry question of the service scripts is the Spanish one in every language.
    EXPECT_TRUE(screen.messageBoxes().empty());
}

TEST_F(Interpreter, SilentBoxOrUnitStopsTheRunWithItsMessage) {
    run("SND(1A82);OUTPUT(\"never\");");
    box->inject(silentBox());
    run("COMMSTATUS();OUTPUT(\"never\");");
    run("MNT(3E);OUTPUT(\"never\");");
    const std::string retry = "No hay respuesta del terminal \n¿REINTENTAR?";
    EXPECT_EQ(boxTexts(), (Strings{retry, "No se ha recibido respuesta", retry,
                                   "NO RESPONSE FROM VARBOX", retry}));
    // COMMSTATUS: one send, seven times the usual pause between reads.
    EXPECT_EQ(std::count(frames.sent.begin(), frames.sent.end(), hex("80 00 82 02")), 1);
}

TEST_F(Interpreter, CommStatusFollowsTheConnection) {
    run("COMMSTATUS();EXIT();");
    EXPECT_EQ(state.commStatus, 1);
    boot(serviceScenario(R"("state": 0,)"));
    run("COMMSTATUS();CMP(COMMSTATUS,0);JE(DOWN);EXIT();LABEL(DOWN);OUTPUT(\"down\");EXIT();");
    EXPECT_EQ(state.commStatus, 0);
    EXPECT_EQ(boxTexts(), Strings{"down"});
}

TEST_F(Interpreter, RequestsTooLongForTheBoxAreNeverSentCutShort) {
    const std::string bytes255(510, 'A');
    const std::string bytes97(194, 'B');
    run("SND(" + bytes255 + ");OUTPUT(\"never\");");
    run("SETSND(" + bytes255 + ");SND(FRAME);OUTPUT(\"never\");");
    run("MNT(" + bytes97 + ");OUTPUT(\"never\");");
    runText(scriptText("LOGOFF();OUTPUT(\"never\");")
                .replace(scriptText("").find("[82]"), 4, "[" + bytes255 + "]"));
    EXPECT_EQ(boxTexts(),
              (Strings{"Trama demasiado larga para el VarBox: 255 bytes (máximo 254)",
                       "Trama demasiado larga para el VarBox: 255 bytes (máximo 254)",
                       "Trama demasiado larga para el VarBox: 97 bytes (máximo 96)",
                       "Trama demasiado larga para el VarBox: 255 bytes (máximo 254)"}));
    EXPECT_TRUE(frames.sent.empty());
    // The longest that fits goes out whole.
    run("SND(" + std::string(508, 'A') + ");MNT(" + std::string(192, 'B') + ");EXIT();");
    ASSERT_EQ(frames.sent.size(), 2u);
    EXPECT_EQ(frames.sent[0].size(), 4u + 1 + 254);
    EXPECT_EQ(frames.sent[1].size(), 4u + 1 + 96);
}

TEST_F(Interpreter, FramePositionsExtendTheFrameAndNeverWriteOutsideIt) {
    run("SETSND(3B02);MOV(COUNT,0x12);SETSNDPOS(2,COUNT);ADD(RCV,0xAB);SETSNDPOS(4,RCV);"
        "SETSNDPOS(1,0x7);SND(FRAME);EXIT();");
    EXPECT_EQ(state.frame, "3B701200AB");
    run("SETSND(31);SETSNDPOS(0,5);OUTPUT(\"never\");");  // no "0x": stops quietly
    EXPECT_EQ(state.frame, "31");
    run("SETSNDPOS(254,0x01);OUTPUT(\"never\");");
    run("SETSNDPOS(-1,0x01);OUTPUT(\"never\");");
    EXPECT_EQ(boxTexts(),
              (Strings{"Posición fuera de la trama: 254", "Posición fuera de la trama: -1"}));
    EXPECT_EQ(state.frame, "31");
    EXPECT_EQ(ecuMessages(), std::vector<Bytes>{hex("3B701200AB")});
}

TEST_F(Interpreter, DemonstrationSkipsExactlyTheBoxStatements) {
    state.frame = "AA";
    state.byteRcv = 0x33;
    technician("answer \"Go?\" Yes\n");
    run("SND(3101);GETRCV(0);MNT(3E);SETSND(3102);COMMSTATUS();LOGON();LOGOFF();SETDELAY(5);"
        "SETSNDPOS(1,0x0F);SHOWMSG(\"Demo\");PROGRESS(40);QUERY(\"Go?\");DLL(OTHER.DLL);"
        "MOV(COUNT,2);CMP(COUNT,2);JE(ON);EXIT();LABEL(ON);"
        "JMP(PAST);OUTPUT(\"never\");LABEL(PAST);"
        "OUTPUT(cByteRcv);OUTPUT(\"done\");EXIT();",
        "DEMO");
    EXPECT_TRUE(frames.sent.empty());
    EXPECT_EQ(state.frame, "AA0F");  // SETSND skipped, SETSNDPOS not
    EXPECT_EQ(state.byteRcv, 0x33);  // GETRCV skipped
    EXPECT_EQ(boxTexts(), (Strings{"Go?", "0x33", "done"}));
    ASSERT_EQ(pluginCalls().size(), 1u);  // LOGON skipped, DLL ran
    EXPECT_TRUE(pluginCalls()[0].starts_with("DEMO|0|0||"));
    EXPECT_TRUE(snapshot(kMessageWindowName).everShown);
}

TEST_F(Interpreter, StateOutlivesTheRun) {
    run("MOV(COUNT,7);SETSND(AB);PUSH(COUNT);INPUT(\"x\");");  // left with Cancel
    EXPECT_EQ(state.stack, Strings{"7"});
    run("INC(COUNT);POP(COUNT);SETSNDPOS(1,0xCD);EXIT();");
    EXPECT_EQ(state.count, 7);
    EXPECT_EQ(state.frame, "ABCD");
    EXPECT_TRUE(state.stack.empty());
}

TEST_F(Interpreter, SetDelayRewritesBytesSixAndSevenOfTheBoxConfiguration) {
    std::string config = "\"configTemplate\": \"";
    for (int i = 0; i < 40; ++i) config += (i ? " " : "") + byteToHex(uint8_t(0xC0 + i));
    boot(serviceScenario(config + "\","));
    const auto before = box->configuration();
    run("SETDELAY(300);EXIT();");
    const auto& after = box->configuration();
    for (size_t i = 0; i < after.size(); ++i) {
        if (i != 6 && i != 7) {
            EXPECT_EQ(after[i], before[i]) << i;
        }
    }
    EXPECT_EQ(after[6], 0x01);
    EXPECT_EQ(after[7], 0x2C);
    ASSERT_EQ(frames.sent.size(), 2u);
    EXPECT_EQ(frames.sent[0], hex("80 00 81 01"));
    EXPECT_EQ(Bytes(frames.sent[1].begin(), frames.sent[1].begin() + 3), hex("80 28 80"));
    // A write that gets no reply is sent four times, and the procedure goes on.
    sim::Fault deaf = silentBox();
    deaf.command = 0x80;
    box->inject(deaf);
    frames.sent.clear();
    run("SETDELAY(20);OUTPUT(\"written\");EXIT();");
    EXPECT_EQ(frames.sent.size(), 1u + 4);
    EXPECT_EQ(boxTexts().back(), "written");
    // A box that does not give its configuration gets nothing written back.
    box->inject(silentBox());
    frames.sent.clear();
    run("SETDELAY(10);OUTPUT(\"on\");EXIT();");
    EXPECT_EQ(frames.sent.size(), 4u);  // the read, sent four times
    for (const Bytes& f : frames.sent) EXPECT_NE(f[2], 0x80);
    EXPECT_EQ(boxTexts().back(), "on");
}

TEST_F(Interpreter, DllRunsAPluginBesideTheEngineAndStopsOnKo) {
    const std::string text =
        scriptText("DLL(VAGLOGIN.DLL);OUTPUT(\"after OK\");DLL(other.dll);OUTPUT(\"again\");",
                   "\tSTANDIN_RESULT=\t[OK]\r\n");
    runText(text);
    EXPECT_EQ(boxTexts(), (Strings{"after OK", "again"}));
    runText(scriptText("DLL(OTHER.DLL);OUTPUT(\"after KO\");", "\tSTANDIN_RESULT=\t[KO]\r\n"));
    EXPECT_EQ(boxTexts().size(), 2u);
    // The callee gets the whole text from 0, the script's mode, language 0 and no name.
    const std::string expected = "EXE|0|0||" + std::to_string(text.size());
    ASSERT_EQ(pluginCalls().size(), 3u);
    EXPECT_EQ(pluginCalls()[0], expected);
    // A name with a path in it is never loaded.
    run("DLL(..\\DLL\\OTHER.DLL);OUTPUT(\"never\");");
    run("DLL(GONE.DLL);OUTPUT(\"never\");");
    EXPECT_EQ(boxTexts(), (Strings{"after OK", "again",
                                   "Can't open \\STORAGE CARD\\CORVANDATA\\dll\\..\\DLL\\OTHER.DLL",
                                   "Can't open \\STORAGE CARD\\CORVANDATA\\dll\\GONE.DLL"}));
    EXPECT_EQ(pluginCalls().size(), 3u);
}

TEST_F(Interpreter, HostWithoutAFileSystemLoadsNoPlugin) {
    host.root = nullptr;
    run("DLL(VAGLOGIN.DLL);OUTPUT(\"never\");");
    run("LOGON();OUTPUT(\"goes on\");EXIT();");
    EXPECT_EQ(boxTexts(), (Strings{"Can't open \\dll\\VAGLOGIN.DLL", "goes on"}));
    EXPECT_TRUE(pluginCalls().empty());
}

TEST_F(Interpreter, LogonResetsTheBoxThenRunsTheConfiguredPlugin) {
    const std::string login = "\tSTANDIN_SEND=\t[1A80]\r\n\tSTANDIN_RESULT=\t[ERROR 1]\r\n";
    const std::string text = scriptText("SHOWMSG(\"Wait\");LOGON();OUTPUT(\"never\");", login);
    runText(text);
    ASSERT_EQ(frames.sent.size(), 2u);
    EXPECT_EQ(frames.sent[0], hex("80 00 88 08"));
    EXPECT_EQ(frames.sent[1], hex("80 03 20 00 1A 80 39"));  // the login plug-in's own request
    EXPECT_TRUE(screen.messageBoxes().empty());
    ASSERT_EQ(pluginCalls().size(), 1u);
    EXPECT_EQ(pluginCalls()[0], "EXE|0|0||" + std::to_string(text.size()));
    // Anything without "ERROR" goes on; so does a login plug-in that is not there.
    runText(scriptText("LOGON();OUTPUT(\"logged on\");EXIT();", "\tSTANDIN_RESULT=\t[KO]\r\n"));
    const std::string missing = scriptText("LOGON();OUTPUT(\"no plug-in\");EXIT();");
    runText(std::string(missing).replace(missing.find("LOGIN.DLL"), 9, "NONE.DLL"));
    runText(std::string(missing).erase(0, missing.find("#MENU")));  // no configuration section
    EXPECT_EQ(boxTexts(), (Strings{"logged on", "no plug-in", "no plug-in"}));
    EXPECT_EQ(pluginCalls().size(), 2u);
}

}  // namespace
}  // namespace corvan::mbservice::testing
