// The program-wide settings of a running program: the terminal's configuration record, the
// shared settings record, the print selection and the state every command reads. Named like the
// fields and settings they hold. One per running program; nothing here is global.
#pragma once

#include <array>
#include <string>

#include "base/date.h"
#include "base/decimal.h"
#include "store/workspace.h"

namespace kx::store {

struct Globals : Settings {
  // Identity and folders (Settings holds NUSU, ARQDEF, LOCARQ, LOCTRAB, CPF, NOMECONTR).
  std::string ROTADEF;    // program folder
  std::string DIRDEF;     // raw value of DKAPRIX
  std::string ROTADOANO;  // current work folder as stored
  std::string ROTA;       // ROTADOANO trimmed
  std::string DIRORIG;    // LOCARQ at start-up: where searches in other folders come back to
  std::string DIRTRAB;    // auxiliary folder
  std::string DIRPROV;    // folder of the last carry-over
  std::string DIRINST;    // folder of last year's program
  std::string ROTAANTER;  // last year's program folder
  std::string ROTAREANT;  // last year's transmitted declarations of the official program
  std::string ROTARECEI;  // data folder of the official program
  std::string ROTAJAVA;   // the same, used for the hand-over
  std::string LOCIRPF;    // ROTAJAVA with a final "/", or empty
  std::string ROTABACK;   // last backup destination
  std::string XDRIVE = "A";

  // Operator.
  std::string NOMEAG;
  std::string ULT_CPF;
  bool QUERSEN = false;
  int ULT_TER = 0;
  int ULT_MOD = 1;

  // Behaviour.
  std::string OPCIRPF = "J";
  int OPCFIM = 0;
  int OPTTRAN = 0;
  int SOESTE = 9;
  int ENV_STAT = 2;
  int OPC_TRAN = 7;
  int STATRAVA = 0;
  int TEMP_SAL = 15;
  int TEMP_DES = 4;
  int COMO_SAL = 0;
  Decimal VAL_SEG = "4.00"_dec;
  Decimal VAL_BYTE = "3.00"_dec;
  Decimal VAL_MIN = "120.00"_dec;
  std::array<Date, 8> DAT_VENC{};  // VCTO1..VCTO8
  Decimal NVALDOLAR = "2.6556"_dec;
  Decimal VAL_CPMF;
  std::string VER_ATUAL;
  std::string PROGCOMP = "N";
  std::string PROCESSA = "N";
  Date ULTBACK;
  long BOL_NOSNRO = 0;
  int BOL_BANCO = 341;
  std::string SER_SMTP, NOM_USUA, EMA_USUA, SEN_USUA, MEMORIZ;

  // Print selection.
  int QUEIMP = 1, QUEMOD = 1, QUEPAG = 1, QUECON = 1;
  std::string MOSIMP = "S", MOSTEL = "S", MOSCPF;
  int COMPAGA = 1;
  std::string IMPBEM = "1", IMPBAL = "1";
  int MARESQ = 0, INIFOL = 0, LINETI = 6, NRO_LIN = 60, NRO_VIAS = 1;

  // State of the running program.
  int OPCAO_1 = 0;              // main-menu command being carried out
  bool LESTOUNADECL = false;    // a declaration is open full screen: the main menu is inert
  bool LRECUPERA = false;       // an interrupted declaration is being restored
  std::string DECFINAL = "N";   // the open declaration is a final one of an estate
  std::string DECSAIDA = "N";   // the open declaration is one of departure
};

}  // namespace kx::store
