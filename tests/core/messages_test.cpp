#include "core/messages.h"

#include <gtest/gtest.h>

#include "core/error_text.h"
#include "runtime/error_number.h"
#include "support/recording_console.h"

namespace nerbo {
namespace {

const char kUninstallHint[] = "Per disinstallare eseguire il programma passandogli il parametro \"/u\".\n";

struct MessageCase {
  int code;
  std::string out;
};

class MessageTable : public testing::TestWithParam<MessageCase> {};

TEST_P(MessageTable, PrintsTheTextByteForByte) {
  RecordingConsole console;
  PrintMessage(console, GetParam().code, "C:\\x\\Hello.class");
  EXPECT_EQ(console.out, GetParam().out);
  EXPECT_EQ(console.err, "");
}

INSTANTIATE_TEST_SUITE_P(
    Codes, MessageTable,
    testing::Values(
        MessageCase{3, "Installazione eseguita correttamente.\n\n"},
        MessageCase{4, "Ora e' anche possibile compilare direttamente un file java da menu contestuale!\n\n"},
        MessageCase{5, "Inserire gli argomenti per la classe java:\n\n"},
        MessageCase{6, "Impossibile trovare il file C:\\x\\Hello.class\n\n"},
        MessageCase{7, "Processo solo i file .class e .java\n\n"},
        MessageCase{10, "\nCompilazione Java terminata in maniera non corretta.\n"},
        MessageCase{11, "\nCompilazione Java terminata correttamente.\n\n"},
        MessageCase{12, "Sto avviando il programma "},
        MessageCase{13, "Programma Java terminato in maniera non corretta.\n\n"},
        MessageCase{14, "\nProgramma Java terminato correttamente.\n\n"}, MessageCase{15, kUninstallHint},
        MessageCase{16, "\nDisinstallazione eseguita.\n\n"}, MessageCase{17, "Attendere.\n\n"},
        MessageCase{0, ""}, MessageCase{9, ""}, MessageCase{18, ""}, MessageCase{-1, ""}));

TEST(PrintMessage, BannerHasSixLinesAndARuleOf55LightShades) {
  RecordingConsole console;
  PrintMessage(console, 1);
  std::string expected =
      std::string("\t\t    ****   Nerbo.exe (ver. 1.3.4)   ****\n") +
      "  by Brandovelkian, E-mail:brandovelkian@vesk.example site:http://www.vesk.example/nerbo\n" +
      "\nUtilita' per l'esecuzione di classi java.\n" +
      "Crea nel registro un'associazione al comando java.exe.\n" +
      "Il programma java.exe appartiene alla Sun Microsystem.\n" + std::string(55, '\xb0') + "\n\n";
  EXPECT_EQ(console.out, expected);
}

TEST(PrintMessage, InstallHelpIsElevenLinesThenTheUninstallHint) {
  RecordingConsole console;
  PrintMessage(console, 2);
  std::string expected =
      std::string(
          "Se vuoi installare questo programma, devi copiarlo nella directory jdk\\bin,\n"
          "poi eseguirlo da li'. Automaticamente verranno create delle chiavi nel registro\n"
          "in modo che cliccando su una classe java (estensione .class), questa venga \n"
          "eseguita tramite l'interprete java.exe presente nella directory jdk\\bin.\n"
          "Verra' creata anche una associazione per i file .java per permettere di \n"
          "compilarli ed eseguirli con un semplice doppio click.\n"
          "Saranno aggiunti anche menu' contestuali per i file .java e .class.\n\n"
          "Le chiavi aggiunte nel registro sono in HKEY_CLASSES_ROOT e sono: \n"
          "\t.class\t.java\tClassFile.Nerbo\t\tJavaFile.Nerbo\n\n"
          "IMPORTANTE: non cancellare questo file dalla directory jdk\\bin dopo\n"
          "\t    l'installazione.\n") +
      kUninstallHint;
  EXPECT_EQ(console.out, expected);
}

TEST(PrintMessage, SpawnFailureGoesToStandardErrorWithTheErrorText) {
  RecordingConsole console;
  SetErrorNumber(2);
  PrintMessage(console, 8);
  EXPECT_EQ(console.out, "");
  EXPECT_EQ(console.err, "Spawnl non andata a buon fine\n\n: No such file or directory\n");
}

TEST(PrintErrorText, EmptyOrMissingPrefixPrintsTheTextAlone) {
  RecordingConsole console;
  SetErrorNumber(48);
  PrintErrorText(console, "");
  PrintErrorText(console, nullptr);
  PrintErrorText(console, "x");
  EXPECT_EQ(console.err, "Filename too long\nFilename too long\nx: Filename too long\n");
}

TEST(ErrorText, HasFortyNineTextsAndUnknownOutside) {
  EXPECT_STREQ(ErrorText(0), "Error 0");
  EXPECT_STREQ(ErrorText(21), "Exec format error");
  EXPECT_STREQ(ErrorText(42), "Resource temporarily unavailable");
  EXPECT_STREQ(ErrorText(47), "");
  EXPECT_STREQ(ErrorText(48), "Filename too long");
  EXPECT_STREQ(ErrorText(49), "Unknown error");
  EXPECT_STREQ(ErrorText(-1), "Unknown error");
}

}  // namespace
}  // namespace nerbo
