#include <cstdio>

#include "app/verbs.h"

namespace kx::app {

int verb_help(const Args&) {
  std::fputs(
      "Uso: kaprix COMANDO [ARGUMENTOS]\n"
      "\n"
      "  kaprix [NN]\n"
      "      Inicia o programa no terminal NN (um ou dois dígitos; a variável TERMINAL\n"
      "      prevalece; sem número, \"00\"). A pasta do programa é DKAPRIX ou a atual.\n"
      "\n"
      "  kaprix id cpf|cnpj|nit NUMERO...\n"
      "      Confere os dígitos verificadores. Para cada número, uma linha: o número\n"
      "      formatado e \"valido\" ou \"invalido (digitos corretos: DD)\".\n"
      "      Sai com 0 quando todos são válidos, 1 quando algum não é.\n"
      "\n"
      "  kaprix mask MASCARA VALOR\n"
      "      Mostra VALOR formatado pela máscara, entre colchetes. VALOR é um número com\n"
      "      \".\" para os decimais, uma data dd/mm/aaaa ou um texto; máscaras com R, X ou !\n"
      "      no modelo formatam o valor como texto.\n"
      "      Exemplo: kaprix mask \"@E 999,999.99\" -1500   ->   [ -1.500,00]\n"
      "\n"
      "  kaprix install PASTA\n"
      "      Prepara a pasta do programa: tabelas do sistema, tabelas de referência e as\n"
      "      vinte tabelas de declarações. Nunca sobrescreve uma tabela que já existe.\n"
      "\n"
      "  kaprix reftab import TABELA ARQUIVO\n"
      "      Substitui as linhas de uma tabela de referência pelas de um arquivo CSV\n"
      "      (UTF-8, cabeçalho com os nomes dos campos) e mostra quantas são.\n"
      "\n"
      "  kaprix calc --folder PASTA CPF [--model C|S]\n"
      "      Calcula uma declaração e mostra uma linha NOME=VALOR para cada campo que o\n"
      "      cálculo preenche, depois os avisos. Não altera nada.\n"
      "  kaprix calc --folder PASTA --all --write\n"
      "      Recalcula e grava todas as declarações da pasta; as abertas num terminal são\n"
      "      puladas e informadas.\n"
      "\n"
      "  kaprix generate --folder PASTA --count N [--seed S]\n"
      "      Preenche a pasta com N declarações sintéticas, as mesmas para a mesma semente.\n"
      "\n"
      "  kaprix list --folder PASTA [--order cpf|nome|status]\n"
      "      Lista os contribuintes da pasta em CSV (UTF-8, com cabeçalho): CPF, nome,\n"
      "      código do status, imposto a pagar e a restituir. Não altera nada.\n"
      "\n"
      "  kaprix --version    mostra a versão\n"
      "  kaprix --help       mostra esta ajuda\n",
      stdout);
  return 0;
}

int verb_version(const Args&) {
  std::printf("kaprix %s\n", KX_VERSION);
  return 0;
}

}  // namespace kx::app
