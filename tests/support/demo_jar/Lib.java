package demo;

// Reached through the Class-Path of App.jar's manifest.
public class Lib {
  public static String name() { return "lib from Class-Path"; }
}
