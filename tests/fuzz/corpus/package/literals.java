/* \u002a/ package x; */ // \u000a
@A("package y;") char q = '"'; String t = """
  package z; \""" """;
package a /* . */ .b\u002ec;
